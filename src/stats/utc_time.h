// Dates and times as tessik-stats reads and prints them: UTC, in the calendar of ISO 8601.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessik {

// A calendar date "YYYY-MM-DD": the second its day begins, UTC; nothing when it is no date.
std::optional<int64_t> ParseDate(std::string_view text);

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
