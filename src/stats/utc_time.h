// Dates and times as tessik-stats reads and prints them: UTC, in the calendar of ISO 8601.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessik {

// A calendar date "YYYY-MM-DD": the second its day begins, UTC; nothing when it is no date.
std::optional<int64_t> ParseDate(std::string_view text);

// A stretch of time as --since and --until take it: seconds UTC from first to before end.
struct TimeSpan {
  int64_t first = 0;
  int64_t end = 0;
};
// The span a text names: a day "2025-03-01", a month "2025-03", a year "2025"; or an instant so
// long before now: "30d" days, "2w" weeks, "6m" calendar months, "1y" calendar years (first and
// end both that instant). Nothing when it names none.
std::optional<TimeSpan> ParseTimeSpan(std::string_view text, int64_t now);

struct UtcTime {
  int year = 0;
  unsigned month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};
// Seconds since 1970 (negative before) broken down.
UtcTime UtcTimeOf(int64_t seconds);

// A record's start time as "2024-03-01", "?" when unknown.
std::string DateText(int64_t startTime);
// A record's start time as "2024-03-01T18:30:00Z", empty when unknown.
std::string IsoText(int64_t startTime);

}  // namespace tessik
