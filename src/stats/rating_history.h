// The user's rating over time, one series per rating type, and the thinning of a series that
// has more points than a chart can show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "stats/game.h"
#include "store/rating_type.h"

namespace tessik {

struct RatingPoint {
  int64_t time = 0;  // the game's start, seconds UTC
  int rating = 0;    // the user's rating as the game began
};

struct RatingSeries {
  RatingType type = kNoRatingType;
  std::vector<RatingPoint> points;  // in time order
};

// A series for each rating type with a game of known date and a stored rating of the user, in
// flag order; games of one start time keep their order in games.
std::vector<RatingSeries> RatingHistory(std::span<const Game> games);

// The points of series from first to last (seconds UTC, both included).
std::vector<RatingPoint> Between(const std::vector<RatingPoint>& points, int64_t first,
                                 int64_t last);

// At most maxPoints of points (at least 2), in time order: the points are split into
// maxPoints / 2 runs of equal length, and of each run its lowest and highest rating are kept.
// A curve drawn through them shows every peak and trough a curve through all would show.
std::vector<RatingPoint> Thinned(const std::vector<RatingPoint>& points, size_t maxPoints);

}  // namespace tessik
