#include "store/rating_type.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

TEST(RatingTypeFromServer, VariantNumberDecidesFirst) {
  EXPECT_EQ(RatingTypeFromServer("17", "Blitz"), kRatingLosers);
  EXPECT_EQ(RatingTypeFromServer("26", "Wild"), kRatingLosers);
  EXPECT_EQ(RatingTypeFromServer("23", ""), kRatingCrazyhouse);
}

TEST(RatingTypeFromServer, OrdinaryChessByName) {
  EXPECT_EQ(RatingTypeFromServer("0", "Bullet"), kRatingBullet);
  EXPECT_EQ(RatingTypeFromServer("0", "Blitz"), kRatingBlitz);
  EXPECT_EQ(RatingTypeFromServer("0", "Standard"), kRatingStandard);
  EXPECT_EQ(RatingTypeFromServer("0", "5-minute"), kRating5Minute);
  EXPECT_EQ(RatingTypeFromServer("0", "1-minute"), kRating1Minute);
  EXPECT_EQ(RatingTypeFromServer("0", "15-minute"), kRating15Minute);
  EXPECT_EQ(RatingTypeFromServer("0", "blitz"), kNoRatingType);
  EXPECT_EQ(RatingTypeFromServer("0", "Wild"), kRatingWild);
}

TEST(RatingTypeFromServer, VariantIsWildOnlyByName) {
  EXPECT_EQ(RatingTypeFromServer("22", "Wild"), kRatingWild);
  EXPECT_EQ(RatingTypeFromServer("22", "Blitz"), kNoRatingType);
  EXPECT_EQ(RatingTypeFromServer("00", "Blitz"), kNoRatingType);
  EXPECT_EQ(RatingTypeFromServer(" 0", "Blitz"), kNoRatingType);
}

TEST(RatingTypeSuffix, OneFlagEachAndNothingElse) {
  EXPECT_EQ(RatingTypeSuffix(kRatingStandard), " standard");
  EXPECT_EQ(RatingTypeSuffix(kRatingLosers), " in loser's");
  EXPECT_EQ(RatingTypeSuffix(kRating15Minute), " in 15-minute");
  EXPECT_EQ(RatingTypeSuffix(0), "");
  EXPECT_EQ(RatingTypeSuffix(AnyRatingType), "");
  EXPECT_EQ(RatingTypeSuffix(kRatingBullet | kRatingBlitz), "");
}

}  // namespace
}  // namespace tessik
