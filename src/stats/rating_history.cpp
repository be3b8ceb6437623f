#include "stats/rating_history.h"

#include <algorithm>
#include <bit>

namespace tessik {

std::vector<RatingSeries> RatingHistory(std::span<const Game> games) {
  std::vector<RatingSeries> series;
  for (RatingType type = kRatingWild; type <= kRating15Minute; type <<= 1) {
    series.push_back({type, {}});
  }
  const auto seriesOf = [&series](RatingType type) -> RatingSeries& {
    return series[static_cast<size_t>(std::countr_zero(static_cast<unsigned>(type)))];
  };
  for (const Game& game : games) {
    const GameRecord& record = game.record;
    if (game.Start() == kUnknownStartTime || record.userRating <= 0) continue;
    seriesOf(RatingTypeOf(record)).points.push_back({game.Start(), record.userRating});
  }
  std::erase_if(series, [](const RatingSeries& s) { return s.points.empty(); });
  for (RatingSeries& s : series) {
    std::stable_sort(s.points.begin(), s.points.end(),
                     [](const RatingPoint& a, const RatingPoint& b) { return a.time < b.time; });
  }
  return series;
}

std::vector<RatingPoint> Between(const std::vector<RatingPoint>& points, int64_t first,
                                 int64_t last) {
  const auto before = [](const RatingPoint& p, int64_t time) { return p.time < time; };
  const auto begin = std::lower_bound(points.begin(), points.end(), first, before);
  const auto end =
      std::upper_bound(points.begin(), points.end(), last,
                       [](int64_t time, const RatingPoint& p) { return time < p.time; });
  return begin < end ? std::vector<RatingPoint>(begin, end) : std::vector<RatingPoint>();
}

std::vector<RatingPoint> Thinned(const std::vector<RatingPoint>& points, size_t maxPoints) {
  maxPoints = std::max<size_t>(maxPoints, 2);
  if (points.size() <= maxPoints) return points;
  const size_t runs = maxPoints / 2;
  std::vector<RatingPoint> thinned;
  thinned.reserve(2 * runs);
  for (size_t run = 0; run < runs; ++run) {
    const auto begin = points.begin() + static_cast<ptrdiff_t>(run * points.size() / runs);
    const auto end = points.begin() + static_cast<ptrdiff_t>((run + 1) * points.size() / runs);
    const auto [low, high] = std::minmax_element(
        begin, end, [](const RatingPoint& a, const RatingPoint& b) { return a.rating < b.rating; });
    thinned.push_back(low < high ? *low : *high);  // the earlier first
    if (low != high) thinned.push_back(low < high ? *high : *low);
  }
  return thinned;
}

}  // namespace tessik
