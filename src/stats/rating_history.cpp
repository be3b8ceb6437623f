#include "stats/rating_history.h"

#include <algorithm>
#include <map>

#include "stats/game_kind.h"

namespace tessik {

std::vector<RatingSeries> RatingHistory(std::span<const Game> games, const HeadToHead& record) {
  std::map<std::string, std::vector<RatingPoint>> pools;
  // A record's games come in runs of one pool: the pool of the last one is found again at once.
  PoolNamer namer;
  std::vector<RatingPoint>* points = nullptr;
  for (const Game& game : games) {
    const std::optional<int> rating = RatingAfter(game);
    if (game.Start() == kUnknownStartTime || !rating) continue;
    const bool marked = std::any_of(
        record.spellings.begin(), record.spellings.end(),
        [&game](const auto& s) { return s.first == game.server && s.second == game.Opponent(); });
    if (namer.Name(game) || points == nullptr) points = &pools[namer.pool()];
    points->push_back({game.Start(), *rating, PlayedGameOf(game).result, marked, game.Opponent()});
  }
  std::vector<RatingSeries> series;
  for (auto& [pool, poolPoints] : pools) {
    const auto earlier = [](const RatingPoint& a, const RatingPoint& b) { return a.time < b.time; };
    // Games come in the order played, as a rule: a pool's points are then in order already.
    if (!std::is_sorted(poolPoints.begin(), poolPoints.end(), earlier)) {
      std::stable_sort(poolPoints.begin(), poolPoints.end(), earlier);
    }
    series.push_back({pool, std::move(poolPoints)});
  }
  return series;
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
