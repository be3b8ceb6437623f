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

namespace {

using std::chrono::sys_days;

int64_t SecondsOf(sys_days day) {
  return std::chrono::duration_cast<std::chrono::seconds>(day.time_since_epoch()).count();
}

// Digits only, at most count of them: their value.
std::optional<int> Number(std::string_view text, size_t count) {
  if (text.empty() || text.size() > count) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The calendar date some months before date: the last day of its month when the month is shorter.
std::chrono::year_month_day MonthsBefore(std::chrono::year_month_day date, int months) {
  using namespace std::chrono;
  year_month_day before = date - std::chrono::months{months};
  if (!before.ok()) before = year_month_day_last{before.year(), month_day_last{before.month()}};
  return before;
}

}  // namespace

std::optional<TimeSpan> ParseTimeSpan(std::string_view text, int64_t now) {
  using namespace std::chrono;
  if (const auto day = ParseDate(text)) return TimeSpan{*day, *day + 24 * 60 * 60};
  if (text.size() == 7 && text[4] == '-') {  // a month
    const auto y = Number(text.substr(0, 4), 4), m = Number(text.substr(5), 2);
    if (!y || !m || *m < 1 || *m > 12) return std::nullopt;
    const year_month first{year{*y}, month{static_cast<unsigned>(*m)}};
    return TimeSpan{SecondsOf(sys_days{first / 1}), SecondsOf(sys_days{(first + months{1}) / 1})};
  }
  if (const auto y = Number(text, 4); y && text.size() == 4) {
    return TimeSpan{SecondsOf(sys_days{year{*y} / 1 / 1}),
                    SecondsOf(sys_days{year{*y + 1} / 1 / 1})};
  }
  if (text.size() < 2) return std::nullopt;
  const auto count = Number(text.substr(0, text.size() - 1), 5);
  if (!count) return std::nullopt;
  const sys_seconds instant{seconds{now}};
  const sys_days today = floor<days>(instant);
  const auto time = instant - today;
  int64_t at = 0;
  switch (text.back()) {
    case 'd':
      at = now - int64_t{*count} * 24 * 60 * 60;
      break;
    case 'w':
      at = now - int64_t{*count} * 7 * 24 * 60 * 60;
      break;
    case 'm':
      at = SecondsOf(sys_days{MonthsBefore(year_month_day{today}, *count)}) + time.count();
      break;
    case 'y':
      at = SecondsOf(sys_days{MonthsBefore(year_month_day{today}, 12 * *count)}) + time.count();
      break;
    default:
      return std::nullopt;
  }
  return TimeSpan{at, at};
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
