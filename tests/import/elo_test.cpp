#include "import/elo.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

TEST(EloUpdate, ThirtyTwoPointsRoundedHalfUp) {
  EXPECT_EQ(EloUpdate(1500, 1500, 1), 1516);
  EXPECT_EQ(EloUpdate(1500, 1500, 0), 1484);
  EXPECT_EQ(EloUpdate(1500, 1500, 0.5), 1500);
  EXPECT_EQ(EloUpdate(1500, 1600, 1), 1520);  // 32 x 0.64 = 20.48
  EXPECT_EQ(EloUpdate(1600, 1500, 0), 1580);
}

TEST(PreGameCandidates, LeadBackToTheRatingAfterTheGame) {
  EXPECT_EQ(PreGameCandidates(1516, 1484, 1).first, 1500);
  for (double score : {0.0, 0.5, 1.0}) {
    for (int a : {1200, 1516, 1800}) {
      PreGameRatings before = PreGameCandidates(a, 1500, score);
      int steps = before.first - a;
      EXPECT_EQ(EloUpdate(before.first, 1500 - steps, score), a) << a << " " << score;
      int moved = before.second - a;
      EXPECT_EQ(EloUpdate(before.second, 1500 - moved, score), a) << a << " " << score;
    }
  }
}

TEST(PreGameCandidates, EndOnAnyRatingsAFileCanHold) {
  for (int a : {-32768, -1, 0, 1, 32767}) {
    for (int b : {-32768, 0, 32767}) {
      for (double score : {0.0, 0.5, 1.0}) PreGameCandidates(a, b, score);
    }
  }
}

TEST(IsNearer, BIsAtLeastAsNearAsC) {
  EXPECT_TRUE(IsNearer(1500, 1490, 1480));
  EXPECT_TRUE(IsNearer(1500, 1490, 1510));  // equally near
  EXPECT_FALSE(IsNearer(1500, 1480, 1510));
}

}  // namespace
}  // namespace tessik
