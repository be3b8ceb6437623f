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
  // Empties every value (keeping their memory for the next game).
  void Clear();
  const std::string& operator[](PgnTag tag) const { return values[tag]; }
};

// Local time to seconds since 1970 as mktime gives it. mktime consults the time zone anew
// at every call; games come in time order, so this remembers a stretch of local time around
// the last conversion in which the zone's offset is the same at both ends (no change of
// daylight saving time), and converts inside it by subtraction.
class StartTimes {
 public:
  int32_t Convert(int year, int month, int day, int hour, int minute, int second);

 private:
  bool known_ = false;
  int64_t fromLocal_ = 0;  // local seconds (as if UTC) of the stretch
  int64_t toLocal_ = 0;
  int64_t offset_ = 0;  // local minus UTC within it
};

// The record of one game of the user, or false when the game is not kept: its result is not
// known, neither player is the user, or it is a variant the log leaves out.
bool EvaluateGame(const PgnTags& tags, std::string_view userName, StartTimes& startTimes,
                  GameRecord& record);

}  // namespace tessik
