#include "stats/utc_time.h"

#include <chrono>
#include <cstdio>

#include "store/game_record.h"

namespace tessik {

std::optional<int64_t> ParseDate(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  int fields[3] = {0, 0, 0};  // year, month, day
  for (size_t i = 0; i < text.size(); ++i) {
    const bool separator = i == 4 || i == 7;
    if (separator ? text[i] != '-' : text[i] < '0' || text[i] > '9') return std::nullopt;
    int& field = fields[i < 4 ? 0 : i < 7 ? 1 : 2];
    if (!separator) field = field * 10 + (text[i] - '0');
  }
  using namespace std::chrono;
  const year_month_day date{year{fields[0]}, month{static_cast<unsigned>(fields[1])},
                            day{static_cast<unsigned>(fields[2])}};
  if (!date.ok()) return std::nullopt;
  return duration_cast<seconds>(sys_days{date}.time_since_epoch()).count();
}

UtcTime UtcTimeOf(int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds when{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(when);
  const year_month_day date{day};
  const hh_mm_ss time{when - day};
  return {static_cast<int>(date.year()),
          static_cast<unsigned>(date.month()),
          static_cast<unsigned>(date.day()),
          static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()),
          static_cast<int>(time.seconds().count())};
}

std::string DateText(int64_t startTime) {
  if (startTime == kUnknownStartTime) return "?";
  const UtcTime t = UtcTimeOf(startTime);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", t.year, t.month, t.day);
  return text;
}

std::string IsoText(int64_t startTime) {
  if (startTime == kUnknownStartTime) return "";
  const UtcTime t = UtcTimeOf(startTime);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace tessik
