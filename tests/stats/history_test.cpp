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
  for (const HistoryRow& row : MonthlyActivity(LogOf(games))) {
    rows.push_back(row.period + " " + std::to_string(row.counts.won) + "/" +
                   std::to_string(row.counts.drawn) + "/" + std::to_string(row.counts.lost));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"2023-11 1/1/0", "2023-12 0/0/0", "2024-01 0/0/0",
                                            "2024-02 0/1/1"}));
  EXPECT_TRUE(MonthlyActivity(LogOf({})).empty());
}

}  // namespace
}  // namespace tessik
