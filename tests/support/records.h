// Game records and logs as the tests write and read them.
#pragma once

#include <string>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// A game against opponent with result (seen from the user), every other field 0.
GameRecord GameAgainst(const std::string& opponent, int8_t result);
// A rated game of ordinary chess against opponent, on a clock of minutes and increment, with
// the user's rating and the opponent's (before the game when recorded live, else after it).
GameRecord RatedGame(const std::string& opponent, int8_t result, int minutes, int increment = 0,
                     int userRating = 1500, int opponentRating = 1500, bool userWhite = true);
// The whole records of a log's bytes; a torn tail is left out.
std::vector<GameRecord> DecodeLog(const std::string& bytes);
// A log as the plug-in keeps it: the marker, then games.
std::vector<GameRecord> LogOf(const std::vector<GameRecord>& games);
// What a record says of its game: "<opponent> <won|drawn|lost> <white|black> <user's rating>/
// <opponent's> <minutes>+<increment>[ unrated] pool <pool>[ wild <wild>]".
std::string Describe(const GameRecord& record);
// The opponents of records[first] on, in order.
std::vector<std::string> Opponents(const std::vector<GameRecord>& records, size_t first = 1);

}  // namespace tessik
