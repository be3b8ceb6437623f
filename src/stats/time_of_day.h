// The user's results by the hour of the day and the day of the week the games began at.
#pragma once

#include <span>
#include <string_view>

#include "reports/score_report.h"
#include "stats/game.h"

namespace tessik {

struct TimeOfDayResults {
  ScoreCounts hours[24];
  ScoreCounts weekdays[7];  // Monday first
};

// The results of the games of known start, by their start in the local time zone (TZ, as the
// C library reads it), or in UTC.
TimeOfDayResults ResultsByTimeOfDay(std::span<const Game> games, bool utc);

// "Monday" for 0 to "Sunday" for 6.
std::string_view WeekdayName(int weekday);

}  // namespace tessik
