#include "stats/history.h"

#include <chrono>
#include <cstdio>

namespace tessik {

namespace {

// The period a start time falls in, as a label that sorts in time order.
std::string PeriodOf(int64_t startTime, Period period) {
  if (startTime < 0) return "undated";
  using namespace std::chrono;
  const sys_days day = floor<days>(sys_seconds{seconds{startTime}});
  const year_month_day date{day};
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
  } else if (period == Period::Month) {
    std::snprintf(label, sizeof label, "%04d-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()));
  } else {
    std::snprintf(label, sizeof label, "%04d", static_cast<int>(date.year()));
  }
  return label;
}

}  // namespace

std::vector<HistoryRow> History(const std::vector<GameRecord>& log, Period period) {
  std::map<std::string, HistoryRow> rows;  // in label order: time order, then "undated"
  for (size_t i = 1; i < log.size(); ++i) {
    const GameRecord& game = log[i];
    const std::string label = PeriodOf(game.startTime, period);
    HistoryRow& row = rows[label];
    row.period = label;
    ScoreCounts& c = row.counts;
    ++(game.result == kUserWon ? c.won : game.result == kDraw ? c.drawn : c.lost);
    row.lastRatings[RatingTypeOf(game)] = game.userRating;
  }
  std::vector<HistoryRow> history;
  if (auto undated = rows.find("undated"); undated != rows.end()) {
    history.push_back(undated->second);
    rows.erase(undated);
  }
  for (const auto& [label, row] : rows) history.push_back(row);
  return history;
}

}  // namespace tessik
