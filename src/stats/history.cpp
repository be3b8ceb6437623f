#include "stats/history.h"

#include <chrono>
#include <climits>
#include <cstdio>

#include "stats/game_kind.h"
#include "stats/utc_time.h"

namespace tessik {

namespace {

// The period a start time falls in, as a label that sorts in time order.
std::string PeriodOf(int64_t startTime, Period period) {
  if (startTime == kUnknownStartTime) return "undated";
  using namespace std::chrono;
  const sys_days day = floor<days>(sys_seconds{seconds{startTime}});
  char label[32];
  if (period == Period::Week) {
    // ISO 8601: the week belongs to the year of its Thursday; weeks begin on Monday.
    const sys_days thursday = day - days{(weekday{day}.iso_encoding() - 1)} + days{3};
    const year isoYear = year_month_day{thursday}.year();
    const sys_days firstThursday =
        sys_days{isoYear / January / 1} +
        days{(4 - weekday{sys_days{isoYear / January / 1}}.iso_encoding() + 7) % 7};
    const int week = static_cast<int>((thursday - firstThursday).count() / 7) + 1;
    std::snprintf(label, sizeof label, "%04d-W%02d", static_cast<int>(isoYear), week);
  } else {
    const UtcTime t = UtcTimeOf(startTime);
    std::snprintf(label, sizeof label, "%04d-%02u", t.year, t.month);
    if (period == Period::Year) label[4] = '\0';
  }
  return label;
}

}  // namespace

std::vector<HistoryRow> History(std::span<const Game> games, Period period) {
  std::map<std::string, HistoryRow> rows;  // in label order: time order, then "undated"
  constexpr int64_t kDay = 24 * 60 * 60;
  int64_t labelledDay = INT64_MIN;  // games come day by day: a day's label is made once
  HistoryRow* row = nullptr;
  PoolNamer namer;
  int* lastRating = nullptr;  // the row's for the pool of the game before
  for (const Game& game : games) {
    const int64_t start = game.Start();
    const int64_t day =
        start == kUnknownStartTime ? INT64_MAX : (start - (start % kDay + kDay) % kDay) / kDay;
    if (day != labelledDay || row == nullptr) {
      const std::string label = PeriodOf(start, period);
      row = &rows[label];
      row->period = label;
      labelledDay = day;
      lastRating = nullptr;
    }
    row->counts.Count(game.record);
    if (const auto rating = RatingAfter(game)) {
      if (namer.Name(game) || lastRating == nullptr) lastRating = &row->lastRatings[namer.pool()];
      *lastRating = *rating;
    }
  }
  std::vector<HistoryRow> history;
  if (auto undated = rows.find("undated"); undated != rows.end()) {
    history.push_back(undated->second);
    rows.erase(undated);
  }
  for (const auto& [label, periodRow] : rows) history.push_back(periodRow);
  return history;
}

std::vector<HistoryRow> MonthlyActivity(std::span<const Game> games) {
  std::vector<HistoryRow> months;
  for (HistoryRow& row : History(games, Period::Month)) {
    if (row.period == "undated") continue;
    // The months between the last one listed and this one, without games.
    int year = 0;
    unsigned month = 0;
    while (!months.empty() &&
           std::sscanf(months.back().period.c_str(), "%d-%u", &year, &month) == 2) {
      year += month / 12;
      month = month % 12 + 1;
      char label[32];
      std::snprintf(label, sizeof label, "%04d-%02u", year, month);
      if (label == row.period) break;
      months.push_back({label, {}, {}});
    }
    months.push_back(std::move(row));
  }
  return months;
}

}  // namespace tessik
