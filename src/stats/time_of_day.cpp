#include "stats/time_of_day.h"

#include <ctime>

namespace tessik {

TimeOfDayResults ResultsByTimeOfDay(std::span<const Game> games, bool utc) {
  // localtime_r need not read TZ itself: it is read here once, before the first game.
  if (!utc) tzset();
  TimeOfDayResults results;
  for (const Game& game : games) {
    if (game.Start() == kUnknownStartTime) continue;
    const std::time_t start = game.Start();
    std::tm local{};
    if ((utc ? gmtime_r(&start, &local) : localtime_r(&start, &local)) == nullptr) continue;
    results.hours[local.tm_hour].Count(game.record);
    results.weekdays[(local.tm_wday + 6) % 7].Count(game.record);  // tm_wday: Sunday is 0
  }
  return results;
}

std::string_view WeekdayName(int weekday) {
  constexpr std::string_view kNames[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                         "Friday", "Saturday", "Sunday"};
  return kNames[weekday];
}

}  // namespace tessik
