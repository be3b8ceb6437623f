#include "stats/history.h"

#include <gtest/gtest.h>

#include "support/records.h"

namespace tessik {
namespace {

constexpr int32_t kDay = 24 * 60 * 60;
constexpr int32_t k2023Nov30 = 1701302400;  // 2023-11-30 00:00 UTC

// Every month from the first dated game to the last, months without games too (across a year's
// end), games of unknown date left out; each month's games and results.
TEST(MonthlyActivity, EveryMonthFromTheFirstGameToTheLast) {
  // start times (kUnknownStartTime: unknown), results
  const std::vector<std::pair<int32_t, int8_t>> kGames = {
      {k2023Nov30, kUserWon},          {k2023Nov30 + kDay - 1, kDraw},
      {kUnknownStartTime, kUserLost},  {k2023Nov30 + 64 * kDay, kUserLost},  // 2024-02-02
      {k2023Nov30 + 63 * kDay, kDraw},  // 2024-02-01, after a later game in the log
  };
  std::vector<GameRecord> games;
  for (auto [start, result] : kGames) {
    games.push_back(GameAgainst("bob", result));
    games.back().startTime = start;
  }
  std::vector<std::string> rows;
  for (const HistoryRow& row : MonthlyActivity(GamesOfLog(LogOf(games)))) {
    rows.push_back(row.period + " " + std::to_string(row.counts.won) + "/" +
                   std::to_string(row.counts.drawn) + "/" + std::to_string(row.counts.lost));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"2023-11 1/1/0", "2023-12 0/0/0", "2024-01 0/0/0",
                                            "2024-02 0/1/1"}));
  EXPECT_TRUE(MonthlyActivity(GamesOfLog(LogOf({}))).empty());
}

// A week is the ISO week: it belongs to the year of its Thursday, and week 1 holds the year's
// first Thursday.
TEST(History, WeeksAreTheIsoWeeksOfTheYearOfTheirThursday) {
  const std::pair<int32_t, const char*> kCases[] = {
      {1609675200, "2020-W53"},  // 2021-01-03, a Sunday
      {1609761600, "2021-W01"},  // 2021-01-04, a Monday
      {1735560000, "2025-W01"},  // 2024-12-30
      {1798718400, "2026-W53"},  // 2026-12-31, a Thursday
      {1798804800, "2026-W53"},  // 2027-01-01, a Friday
      {1799064000, "2027-W01"},  // 2027-01-04
  };
  for (auto [start, label] : kCases) {
    GameRecord game = GameAgainst("bob", kUserWon);
    game.startTime = start;
    EXPECT_EQ(History(GamesOfLog(LogOf({game})), Period::Week).at(0).period, label) << start;
  }
}

}  // namespace
}  // namespace tessik
