#include "reports/score_report.h"
#include "session/score_output.h"

#include <gtest/gtest.h>

#include <cstring>

#include "session/settings.h"
#include "support/report_fixture.h"

namespace tessik {
namespace {

using Lines = std::vector<std::string>;
using ScoreReportTest = ReportFixture;

TEST_F(ScoreReportTest, PercentageRoundsHalvesUp) {
  AddGame("bob", kUserWon);
  AddGame("bob", kUserWon);
  AddGame("bob", kUserWon);
  AddGame("bob", kDraw);
  AddGame("bob", kUserLost);
  AddGame("bob", kUserLost);
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"Score against bob +3 =1 -2 (58%)"});
  EXPECT_EQ(ScorePercentage(0, 1, 1), 25u);
  EXPECT_EQ(ScorePercentage(1, 0, 7), 13u);  // 12.5 rounds up
  EXPECT_EQ(ScorePercentage(0, 0, 0), 0u);
}

TEST_F(ScoreReportTest, NoGamesIsOneLineOrNothingWhenSilent) {
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"No game results against bob found"});
  settings.fingerAssessDisplayAllBw = 1;
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"No game results against bob found"});
  settings.fingerAssessDisplayAll = 0;
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), (Lines{"No game results against bob with white found",
                              "No game results against bob with black found"}));
  settings.silentIfNoGames = 1;
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{});
}

TEST_F(ScoreReportTest, ColourWithoutGamesSaysSoOnce) {
  AddGame("bob", kUserWon, true);
  settings.fingerAssessDisplayAllBw = 1;
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), (Lines{"Score against bob +1 =0 -0 (100%)",
                              "Score against bob with white +1 =0 -0 (100%)",
                              "No game results against bob with black found"}));
}

TEST_F(ScoreReportTest, PerTypeLinesOnlyWhereGamesExist) {
  settings.fingerAssessDisplayAll = 0;
  settings.fingerAssessDisplayRtypes = 1;
  AddGame("bob", kUserWon, true, 3);
  AddGame("bob", kUserLost, false, 1);
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), (Lines{"Score against bob in bullet +0 =0 -1 (0%)",
                              "Score against bob in blitz +1 =0 -0 (100%)"}));
  settings.fingerAssessDisplayRtypesBw = 1;
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), (Lines{"Score against bob in bullet +0 =0 -1 (0%)",
                              "Score against bob in bullet with black +0 =0 -1 (0%)",
                              "Score against bob in blitz +1 =0 -0 (100%)",
                              "Score against bob in blitz with white +1 =0 -0 (100%)"}));
}

TEST_F(ScoreReportTest, PerTypeLinesAreNotTriedWithoutAnyGame) {
  settings.fingerAssessDisplayRtypes = 1;
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"No game results against bob found"});
}

TEST_F(ScoreReportTest, GameEndShowsOnlyTheUsersColourOnce) {
  settings.matchEtcDisplayAllBw = 1;
  AddGame("bob", kUserWon, true);
  AddGame("bob", kDraw, false);
  g_colourFilter = 2;
  ShowScoreForMatch(app, "bob", kRatingBlitz);
  EXPECT_EQ(Printed(), (Lines{"Score against bob +1 =1 -0 (75%)",
                              "Score against bob with black +0 =1 -0 (50%)"}));
  EXPECT_EQ(g_colourFilter, 3);
  ShowScoreForMatch(app, "bob", kRatingBlitz);
  EXPECT_EQ(Printed().size(), 3u);
}

TEST_F(ScoreReportTest, MatchOfAnUnknownRatingTypeFindsNoGames) {
  settings.matchEtcDisplayAll = 0;
  settings.matchEtcDisplayRtype = 1;
  AddGame("bob", kUserWon);
  ShowScoreForMatch(app, "bob", kNoRatingType);
  EXPECT_EQ(Printed(), Lines{"No game results against bob found"});
  ShowScoreForMatch(app, "bob", kRatingStandard);
  EXPECT_EQ(Printed(), Lines{"No game results against bob standard found"});
}

TEST_F(ScoreReportTest, NamesMatchExactlyAndTheMarkerResultIsNotCounted) {
  AddGame("Foo", kUserWon);
  AddGame("foo", kMarkerResult);
  ShowScoreForLookup(app, "foo");
  EXPECT_EQ(Printed(), Lines{"No game results against foo found"});
  ShowScoreForLookup(app, "Foo");
  EXPECT_EQ(Printed(), Lines{"Score against Foo +1 =0 -0 (100%)"});
}

TEST_F(ScoreReportTest, StoredHandleEndsAtItsNulOrFillsTheField) {
  AddGame("bob", kUserWon);
  std::memcpy(app.gameLog.back().opponent + 4, "junk", 4);  // bytes behind the NUL
  AddGame("bo", kUserWon);
  AddGame("bobby", kUserWon);
  GameRecord full;
  std::memcpy(full.opponent, "sixteen_chars_16", kOpponentBytes);  // an old log's full field
  app.gameLog.push_back(full);
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"Score against bob +1 =0 -0 (100%)"});
  // A handle is known by its first 15 characters, as the log keeps it.
  ShowScoreForLookup(app, "sixteen_chars_16");
  EXPECT_EQ(Printed(), Lines{"Score against sixteen_chars_16 +0 =1 -0 (50%)"});
  ShowScoreForLookup(app, "sixteen_chars_1");
  EXPECT_EQ(Printed(), Lines{"Score against sixteen_chars_1 +0 =1 -0 (50%)"});
  ShowScoreForLookup(app, "sixteen_chars_");
  EXPECT_EQ(Printed(), Lines{"No game results against sixteen_chars_ found"});
}

TEST_F(ScoreReportTest, ExpectedScoreFromTheStoredRatings) {
  settings.showExpectedScore = 1;
  AddGame("bob", kUserWon, true, 3, 1600, 1500);
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"Score against bob +1 =0 -0 (100%), expected were 0.6 points (63%)"});
  AddGame("bob", kUserLost, true, 3, 1500, 1600);
  ShowScoreForLookup(app, "bob");
  EXPECT_EQ(Printed(), Lines{"Score against bob +1 =0 -1 (50%), expected were 1.0 points (50%)"});
}

TEST(ExpectedScore, TableEdgesAndHalvesRoundUp) {
  EXPECT_EQ(ExpectedScore32(0), 16);
  EXPECT_EQ(ExpectedScore32(10), 16);
  EXPECT_EQ(ExpectedScore32(11), 17);
  EXPECT_EQ(ExpectedScore32(100), 20);
  EXPECT_EQ(ExpectedScore32(-100), 12);
  EXPECT_EQ(ExpectedScore32(719), 31);
  EXPECT_EQ(ExpectedScore32(720), 32);
  EXPECT_EQ(ExpectedScore32(-70000), 0);
}

TEST_F(ScoreReportTest, ExpectedPointsRoundExactHalvesUp) {
  settings.showExpectedScore = 1;
  // 0.25 points: two games of 4 thirty-seconds each.
  AddGame("eve", kUserLost, true, 3, 1000, 1340);
  AddGame("eve", kUserLost, true, 3, 1000, 1340);
  ShowScoreForLookup(app, "eve");
  EXPECT_EQ(Printed(), Lines{"Score against eve +0 =0 -2 (0%), expected were 0.3 points (13%)"});
  for (int i = 0; i < 8; ++i) AddGame("sam", kDraw, true, 3, 1500, 1900);  // 8 x 3/32 = 0.75
  ShowScoreForLookup(app, "sam");
  EXPECT_EQ(Printed(), Lines{"Score against sam +0 =8 -0 (50%), expected were 0.8 points (9%)"});
}

}  // namespace
}  // namespace tessik
