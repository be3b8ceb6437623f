// Game records and logs as the tests write and read them.
#pragma once

#include <string>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// A game against opponent with result (seen from the user), every other field 0.
GameRecord GameAgainst(const std::string& opponent, int8_t result);
// The whole records of a log's bytes; a torn tail is left out.
std::vector<GameRecord> DecodeLog(const std::string& bytes);

}  // namespace tessik
