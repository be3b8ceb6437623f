#include "stats/rating_history.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

std::vector<RatingPoint> Points(const std::vector<int>& ratings) {
  std::vector<RatingPoint> points;
  for (size_t i = 0; i < ratings.size(); ++i)
    points.push_back({int64_t(i) * 10, ratings[i], '=', false, ""});
  return points;
}

std::vector<int> Ratings(const std::vector<RatingPoint>& points) {
  std::vector<int> ratings;
  for (const RatingPoint& p : points) ratings.push_back(p.rating);
  return ratings;
}

// Thinned keeps, run by run and in time order, the lowest and the highest rating; a series no
// longer than asked stays whole.
TEST(RatingHistory, ThinnedKeepsEachRunsExtremes) {
  const std::vector<int> ratings = {5, 1, 9, 3, 3, 3, 7, 2, 8};
  // at most, the ratings kept
  const std::pair<size_t, std::vector<int>> kCases[] = {
      {9, ratings},      {20, ratings}, {6, {1, 9, 3, 3, 2, 8}},
      {5, {1, 9, 2, 8}}, {1, {1, 9}},  // never fewer than two
  };
  for (const auto& [most, kept] : kCases) {
    EXPECT_EQ(Ratings(Thinned(Points(ratings), most)), kept) << most;
  }
}

}  // namespace
}  // namespace tessik
