#include "reports/score_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "reports/ranking_reports.h"
#include "support/records.h"

namespace tessik {
namespace {

// For each difference two 16-bit ratings can have: 32 times the formula's score, rounded.
TEST(ScoreReport, ExpectedScoreIsThirtyTwoTimesTheFormulasRounded) {
  for (int d = -65535; d <= 65535; ++d) {
    const double expected = 32.0 / (1.0 + std::pow(10.0, -d / 400.0));
    ASSERT_EQ(ExpectedScore32(d), static_cast<int>(std::floor(expected + 0.5))) << d;
  }
}

// A game against bob of 3 minutes (blitz) unless told otherwise.
GameRecord Game(int8_t result, bool white = true, int minutes = 3, int rating = 1500,
                int opponentRating = 1500) {
  return RatedGame("bob", result, minutes, 0, rating, opponentRating, white);
}

TEST(ScoreReport, LinesAgainstBobByColourAndRatingType) {
  const int all = kLineOverall | kLineWhite | kLineBlack;
  const LineChoice overall{kLineOverall}, expected{kLineOverall, 0, false, true};
  const std::vector<GameRecord> won = {Game(kUserWon)};
  const RatingType lookup = -2;  // the lines of a lookup, not of a match in a rating type
  struct Case {
    std::vector<GameRecord> games;
    RatingType ratingType;
    LineChoice choice;
    std::vector<std::string> lines;
  };
  const Case kCases[] = {
      Case({Game(kUserWon), Game(kDraw), Game(kUserLost, false), Game(kMarkerResult),
            RatedGame("Bob", kUserWon, 3), RatedGame("bo", kUserWon, 3),
            RatedGame("bobby", kUserWon, 3)},
           lookup, overall, {"Score against bob +1 =1 -1 (50%)"}),
      Case(won, lookup, {all},
           {"Score against bob +1 =0 -0 (100%)", "Score against bob with white +1 =0 -0 (100%)",
            "No game results against bob with black found"}),
      Case({}, lookup, {all, all}, {"No game results against bob found"}),
      Case({}, lookup, {all, all, true}, {}),
      Case({Game(kUserWon, true, 3), Game(kUserLost, false, 1), Game(kDraw, true, 15)}, lookup,
           {0, kLineOverall | kLineBlack},
           {"Score against bob in bullet +0 =0 -1 (0%)",
            "Score against bob in bullet with black +0 =0 -1 (0%)",
            "Score against bob in blitz +1 =0 -0 (100%)",
            "Score against bob standard +0 =1 -0 (50%)"}),
      Case(won, kRatingBlitz, {kLineOverall, kLineOverall | kLineBlack},
           {"Score against bob +1 =0 -0 (100%)", "Score against bob in blitz +1 =0 -0 (100%)",
            "No game results against bob in blitz with black found"}),
      Case(won, kRatingStandard, {0, kLineOverall}, {"No game results against bob standard found"}),
      Case({Game(kUserWon, true, 3, 1600, 1500), Game(kUserLost, true, 3, 1500, 1600)}, lookup,
           expected, {"Score against bob +1 =0 -1 (50%), expected were 1.0 points (50%)"}),
      Case(std::vector(2, Game(kUserLost, true, 3, 1000, 1340)), lookup, expected,  // 0.25: up
           {"Score against bob +0 =0 -2 (0%), expected were 0.3 points (13%)"}),
  };
  for (const auto& [games, ratingType, choice, lines] : kCases) {
    std::vector<GameRecord> log = LogOf(games);
    log.push_back(Game(kUserWon));
    log.pop_back();  // a log shrunk in place, as the removal of duplicates leaves it
    EXPECT_EQ(ratingType == lookup ? LookupScoreLines(log, "bob", choice)
                                   : MatchScoreLines(log, "bob", ratingType, choice),
              lines);
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
