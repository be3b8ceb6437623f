#include "session/report_output.h"

#include <gtest/gtest.h>

#include "support/report_fixture.h"

namespace tessik {
namespace {

using Lines = std::vector<std::string>;
using RankingTest = ReportFixture;

const std::string kEmptyMost = "                \t(0)  +0   =0   -0 ";
const std::string kEmptyScore = "                \t + 0  = 0  - 0    0%";

TEST_F(RankingTest, NothingWithoutALogin) {
  app.userName.clear();
  ShowMostGames(app);
  ShowBest(app);
  ShowWorst(app);
  ShowOverall(app);
  EXPECT_EQ(window.text, "");
}

TEST_F(RankingTest, MostGamesKeepsTenRowsAndTheFirstOfEqualTotals) {
  AddGame("carl", kUserWon);
  AddGame("carl", kDraw);
  AddGame("bob", kUserLost);
  AddGame("alice", kUserWon);
  ShowMostGames(app);
  Lines lines = Printed();
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "Most games against:");
  EXPECT_EQ(lines[1], "carl            \t(2)  +1   =1   -0 ");
  EXPECT_EQ(lines[2], "alice           \t(1)  +1   =0   -0 ");  // met first in handle order
  EXPECT_EQ(lines[3], "bob             \t(1)  +0   =0   -1 ");
  EXPECT_EQ(lines[4], kEmptyMost);
  EXPECT_EQ(lines[10], kEmptyMost);
}

TEST_F(RankingTest, EqualTotalDoesNotEnterAFullList) {
  for (char c = 'a'; c <= 'k'; ++c) AddGame(std::string("p") + c, kDraw);
  ShowMostGames(app);
  Lines lines = Printed();
  EXPECT_EQ(lines[10].substr(0, 2), "pj");  // pk ties with row 10 and stays out
}

TEST_F(RankingTest, BestRanksBySmoothedScoreAndPrintsTheRealPercentage) {
  AddGame("A", kUserWon);                              // 2/3
  for (int i = 0; i < 3; ++i) AddGame("B", kUserWon);  // 6/5
  AddGame("C", kDraw);                                 // 1/3
  AddGame("D", kUserLost);                             // 0: never listed
  ShowBest(app);
  Lines lines = Printed();
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "Best:");
  EXPECT_EQ(lines[1], "B               \t + 3  = 0  - 0  100%");
  EXPECT_EQ(lines[2], "A               \t + 1  = 0  - 0  100%");
  EXPECT_EQ(lines[3], "C               \t + 0  = 1  - 0   50%");
  EXPECT_EQ(lines[4], kEmptyScore);
}

TEST_F(RankingTest, WorstRanksTheLowestFirst) {
  AddGame("A", kUserLost);  // 4/3
  AddGame("B", kDraw);      // 5/3
  AddGame("C", kUserWon);   // 2: never listed
  ShowWorst(app);
  Lines lines = Printed();
  EXPECT_EQ(lines[0], "Worst:");
  EXPECT_EQ(lines[1], "A               \t + 0  = 0  - 1    0%");
  EXPECT_EQ(lines[2], "B               \t + 0  = 1  - 0   50%");
  EXPECT_EQ(lines[3], kEmptyScore);
}

TEST_F(RankingTest, OverallCountsEveryOpponent) {
  ShowOverall(app);
  EXPECT_EQ(Printed(), (Lines{"Overall score:", "0 games", "0 Opponents", "0 games won",
                              "0 games drawn", "0 games lost"}));
  AddGame("bob", kUserWon);
  AddGame("bob", kUserWon);
  AddGame("carl", kDraw);
  AddGame("dora", kUserLost);
  ShowOverall(app);
  EXPECT_EQ(Printed(), (Lines{"Overall score:", "4 games", "3 Opponents", "2 games won",
                              "1 games drawn", "1 games lost", "63% overall"}));
}

}  // namespace
}  // namespace tessik
