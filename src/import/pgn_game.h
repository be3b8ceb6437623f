// One game of the PGN file: its tags, and the record it gives the user's game log.
#pragma once

#include <array>
#include <ctime>
#include <string>
#include <string_view>

#include "store/game_record.h"

namespace tessik {

enum PgnTag {
  kTagDate,
  kTagTime,
  kTagWhite,
  kTagBlack,
  kTagResult,
  kTagWhiteElo,
  kTagBlackElo,
  kTagTimeControl,
  kTagEvent,
  kTagKeshResult,
  kTagCount,
};

struct PgnTags {
  std::array<std::string, kTagCount> values;

  // Stores the value of a recognised tag (names compared exactly); other tags are ignored.
  void Take(std::string_view name, std::string_view value);
  const std::string& operator[](PgnTag tag) const { return values[tag]; }
};

// Local time to seconds since 1970 as mktime gives it, remembering the last hour converted:
// games come in time order, so most share their hour with the one before.
class StartTimes {
 public:
  int32_t Convert(int year, int month, int day, int hour, int minute, int second);

 private:
  bool known_ = false;
  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0;
  std::time_t hourStart_ = 0;
};

// The record of one game of the user, or false when the game is not kept: its result is not
// known, neither player is the user, or it is a variant the log leaves out.
bool EvaluateGame(const PgnTags& tags, std::string_view userName, StartTimes& startTimes,
                  GameRecord& record);

}  // namespace tessik
