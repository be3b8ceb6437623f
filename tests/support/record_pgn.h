// One player's small online record, written as the servers export it, for the tests that check
// tessik-stats' figures against numbers worked out by hand from the table below.
#pragma once

#include <string>

#include "support/temp_directory.h"

namespace tessik {

// The games of quill (the user), oldest first. Times are UTC; ratings are the user's and the
// opponent's before the game, "?" unknown; a rating change is lichess's RatingDiff.
//
//  # date       time  server   col opponent             ratings    change clock    class (how)
//  1 2024-12-28 18:00 pgn      W   Mark                 1800/?     -      5400+30  classical
//  (clock) 2 2025-01-05 10:00 lichess  W   Kenzy34              1500/1520  +6     180+2    blitz
//  (Event) 3 2025-01-06 20:30 lichess  B   kenzy34              1506/1530  -5     180+2    blitz
//  (Event) 4 2025-01-10 12:00 chesscom W   KENZY34              1200/1250  -      180+2    blitz
//  (clock) 5 2025-01-20 09:15 lichess  W   Fen_Walker_of_the_long_name_indeed
//                                                       1650/2000  +12    600+5    rapid (Event)
//  6 2025-02-02 14:00 lichess  B   Anonymous            1501/?     -      300      blitz, casual
//  7 2025-02-03 16:00 lichess  W   kenzy34              1600/1580  -7     180      chess960
//  8 2025-02-14 08:00 chesscom B   Marta                1210/1300  -      1/86400  daily
//  9 2025-03-01 19:00 chesscom W   Marta                1215/1290  -      600      rapid (clock)
// 10 2025-03-10 11:00 lichess  B   Kenzy34              1700/1650  +1     -        correspondence
//
//  #  result  ECO  opening                                            termination
//  1  won     D02  Queen's Pawn Game                                  (none)
//  2  won     B01  Scandinavian Defense                               Normal
//  3  lost    C50  Italian Game                                       Time forfeit
//  4  won     C50  (chess.com: ECOUrl .../Italian-Game)               quill won by resignation
//  5  won     B01  Scandinavian Defense: Mieses-Kotroc Variation      Normal
//  6  won     A00  Van't Kruijs Opening                               Normal
//  7  lost    -    -                                                  Normal
//  8  won     B01  (chess.com: ECOUrl .../Scandinavian-Defense)       quill won by checkmate
//  9  lost    C50  (chess.com: ECOUrl .../Italian-Game-Two-Knights)   Marta won on time
// 10  drawn   B01  Scandinavian Defense                               Normal
//
// Game 1 is a club's (no server: "pgn"), game 8 a daily game, game 7 a variant, games 1 and 6
// have an unknown opponent rating, game 5 a long name; all are rated but game 6.
std::string RecordPgn();

// RecordPgn written to dir/record.pgn and imported as quill's: the database dir/data/tessik/
// quill.sqlite. Fails the test when the import does not add the ten games.
void ImportRecord(const TempDirectory& dir);

}  // namespace tessik
