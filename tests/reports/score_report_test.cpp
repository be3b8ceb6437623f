#include "reports/score_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "reports/ranking_reports.h"

namespace tessik {
namespace {

// For each difference two 16-bit ratings can have: 32 times the formula's score, rounded.
TEST(ScoreReport, ExpectedScoreIsThirtyTwoTimesTheFormulasRounded) {
  for (int d = -65535; d <= 65535; ++d) {
    const double expected = 32.0 / (1.0 + std::pow(10.0, -d / 400.0));
    ASSERT_EQ(ExpectedScore32(d), static_cast<int>(std::floor(expected + 0.5))) << d;
  }
}

// The heading, then the rows of the ten opponents ranked highest; rows of no opponent are empty.
TEST(RankingReports, TenRowsInOrderTheFirstMetStayingAheadOfEquals) {
  const std::string noGames = std::string(16, ' ') + "\t(0)  +0   =0   -0 ";
  // the report; each opponent's games ("+" won, "=" drawn, "-" lost); the report's lines
  const std::tuple<std::function<std::vector<std::string>(OpponentTotalsList&)>, const char*,
                   std::vector<std::string>>
      kCases[] = {
          {MostGamesReport,
           "carl+ carl= bob- alice+",
           {"Most games against:", "carl            \t(2)  +1   =1   -0 ",
            "alice           \t(1)  +1   =0   -0 ", "bob             \t(1)  +0   =0   -1 ",
            noGames}},
          {BestReport,
           "A+ B+ B+ B+ C= D- E+ E-",  // by (2W + D) / (N + 2), showing the real %
           {"Best:", "B               \t + 3  = 0  - 0  100%",
            "A               \t + 1  = 0  - 0  100%", "E               \t + 1  = 0  - 1   50%",
            "C               \t + 0  = 1  - 0   50%", "                \t + 0  = 0  - 0    0%"}},
          {WorstReport,
           "A- B= C+ D- D+",  // by (2W + D + 4) / (N + 2), the lowest first
           {"Worst:", "A               \t + 0  = 0  - 1    0%",
            "D               \t + 1  = 0  - 1   50%", "B               \t + 0  = 1  - 0   50%"}},
          {OverallReport,
           "bob+ bob+ carl= dora-",
           {"Overall score:", "4 games", "3 Opponents", "2 games won", "1 games drawn",
            "1 games lost", "63% overall"}},
      };
  for (const auto& [report, games, lines] : kCases) {
    OpponentTotalsList totals;
    std::istringstream words(games);
    for (std::string game; words >> game;) {
      totals.AddResult(game.substr(0, game.size() - 1),
                       static_cast<int>(std::string("+=-").find(game.back())));
    }
    std::vector<std::string> printed = report(totals);
    EXPECT_EQ(printed.size(), lines[0] == "Overall score:" ? 7u : 11u);
    printed.resize(lines.size());
    EXPECT_EQ(printed, lines);
  }
  OpponentTotalsList totals;
  for (char c = 'a'; c <= 'k'; ++c) totals.AddResult(std::string("p") + c, 1);
  EXPECT_EQ(MostGamesReport(totals).back(), "pj              \t(1)  +0   =1   -0 ");  // pk: tied
}

}  // namespace
}  // namespace tessik
