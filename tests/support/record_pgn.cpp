#include "support/record_pgn.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/stats_run.h"

namespace tessik {

namespace {

struct RecordGame {
  const char* tags;  // every tag but the result's
  const char* result;
};

// Newest first, as the servers export them.
const RecordGame kRecord[] = {
    {R"([Event "Rated Correspondence game"]
[Site "https://lichess.org/g10"]
[White "Kenzy34"]
[Black "quill"]
[UTCDate "2025.03.10"]
[UTCTime "11:00:00"]
[WhiteElo "1650"]
[BlackElo "1700"]
[WhiteRatingDiff "-1"]
[BlackRatingDiff "+1"]
[Variant "Standard"]
[TimeControl "-"]
[ECO "B01"]
[Opening "Scandinavian Defense"]
[Termination "Normal"]
)",
     "1/2-1/2"},
    {R"([Event "Live Chess"]
[Site "Chess.com"]
[White "quill"]
[Black "Marta"]
[ECO "C50"]
[ECOUrl "https://www.chess.com/openings/Italian-Game-Two-Knights"]
[UTCDate "2025.03.01"]
[UTCTime "19:00:00"]
[WhiteElo "1215"]
[BlackElo "1290"]
[TimeControl "600"]
[Termination "Marta won on time"]
[Link "https://www.chess.com/game/live/9009"]
)",
     "0-1"},
    {R"([Event "Let's Play!"]
[Site "Chess.com"]
[White "Marta"]
[Black "quill"]
[ECO "B01"]
[ECOUrl "https://www.chess.com/openings/Scandinavian-Defense"]
[UTCDate "2025.02.14"]
[UTCTime "08:00:00"]
[WhiteElo "1300"]
[BlackElo "1210"]
[TimeControl "1/86400"]
[Termination "quill won by checkmate"]
[Link "https://www.chess.com/game/daily/8008"]
)",
     "0-1"},
    {R"([Event "Rated Chess960 game"]
[Site "https://lichess.org/g07"]
[White "quill"]
[Black "kenzy34"]
[UTCDate "2025.02.03"]
[UTCTime "16:00:00"]
[WhiteElo "1600"]
[BlackElo "1580"]
[WhiteRatingDiff "-7"]
[BlackRatingDiff "+7"]
[Variant "Chess960"]
[TimeControl "180+0"]
[Termination "Normal"]
)",
     "0-1"},
    {R"([Event "Casual Blitz game"]
[Site "https://lichess.org/g06"]
[White "Anonymous"]
[Black "quill"]
[UTCDate "2025.02.02"]
[UTCTime "14:00:00"]
[WhiteElo "?"]
[BlackElo "1501"]
[Variant "Standard"]
[TimeControl "300+0"]
[ECO "A00"]
[Opening "Van't Kruijs Opening"]
[Termination "Normal"]
)",
     "0-1"},
    {R"([Event "Rated Rapid game"]
[Site "https://lichess.org/g05"]
[White "quill"]
[Black "Fen_Walker_of_the_long_name_indeed"]
[UTCDate "2025.01.20"]
[UTCTime "09:15:00"]
[WhiteElo "1650"]
[BlackElo "2000"]
[WhiteRatingDiff "+12"]
[BlackRatingDiff "-12"]
[Variant "Standard"]
[TimeControl "600+5"]
[ECO "B01"]
[Opening "Scandinavian Defense: Mieses-Kotroc Variation"]
[Termination "Normal"]
)",
     "1-0"},
    {R"([Event "Live Chess"]
[Site "Chess.com"]
[White "quill"]
[Black "KENZY34"]
[ECO "C50"]
[ECOUrl "https://www.chess.com/openings/Italian-Game"]
[UTCDate "2025.01.10"]
[UTCTime "12:00:00"]
[WhiteElo "1200"]
[BlackElo "1250"]
[TimeControl "180+2"]
[Termination "quill won by resignation"]
[Link "https://www.chess.com/game/live/4004"]
)",
     "1-0"},
    {R"([Event "Rated Blitz game"]
[Site "https://lichess.org/g03"]
[White "kenzy34"]
[Black "quill"]
[UTCDate "2025.01.06"]
[UTCTime "20:30:00"]
[WhiteElo "1530"]
[BlackElo "1506"]
[WhiteRatingDiff "+5"]
[BlackRatingDiff "-5"]
[Variant "Standard"]
[TimeControl "180+2"]
[ECO "C50"]
[Opening "Italian Game"]
[Termination "Time forfeit"]
)",
     "1-0"},
    {R"([Event "Rated Blitz game"]
[Site "https://lichess.org/g02"]
[White "quill"]
[Black "Kenzy34"]
[UTCDate "2025.01.05"]
[UTCTime "10:00:00"]
[WhiteElo "1500"]
[BlackElo "1520"]
[WhiteRatingDiff "+6"]
[BlackRatingDiff "-6"]
[Variant "Standard"]
[TimeControl "180+2"]
[ECO "B01"]
[Opening "Scandinavian Defense"]
[Termination "Normal"]
)",
     "1-0"},
    {R"([Event "Club championship"]
[Site "Riverside chess club"]
[Date "2024.12.28"]
[Round "3"]
[White "quill"]
[Black "Mark"]
[StartTime "18:00:00"]
[WhiteElo "1800"]
[BlackElo "?"]
[TimeControl "5400+30"]
[ECO "D02"]
[Opening "Queen's Pawn Game"]
)",
     "1-0"},
};

}  // namespace

std::string RecordPgn() {
  std::string pgn;
  for (const RecordGame& game : kRecord) {
    pgn += std::string(game.tags) + "[Result \"" + game.result + "\"]\n\n1. e4 d5 " + game.result +
           "\n\n";
  }
  return pgn;
}

void ImportRecord(const TempDirectory& dir) {
  std::ofstream(dir / "record.pgn") << RecordPgn();
  const StatsRun import = Stats(dir, "--user quill import record.pgn --player quill");
  ASSERT_EQ(import.status, 0) << import.err;
  ASSERT_NE(import.out.find("10 added"), std::string::npos) << import.out;
}

}  // namespace tessik
