// The user's rating over time, one series per rating pool, and the thinning of a series that has
// more points than a chart can show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game.h"
#include "stats/head_to_head.h"

namespace tessik {

// A game on its pool's curve, with what a chart tells of it on hover.
struct RatingPoint {
  int64_t time = 0;     // the game's start, seconds UTC
  int rating = 0;       // the user's rating after the game, as RatingAfter gives it
  char result = '=';    // the user's: '+' won, '=' drawn, '-' lost
  bool marked = false;  // one of the record's games
  // Viewed where the game keeps it, not copied for each of a million points: good as long as
  // the games the series come from.
  std::string_view opponent;
};

struct RatingSeries {
  std::string pool;                 // as PoolOf names it
  std::vector<RatingPoint> points;  // in time order
};

// A series for each pool (PoolOf) with a game of known date and a known rating after it: the
// ratings `tessik-stats history` gives, game by game. In the order of the pools' names; games of
// one start time keep their order in games. The games of record (against one of its spellings,
// on its server) are marked.
std::vector<RatingSeries> RatingHistory(std::span<const Game> games, const HeadToHead& record);

// At most maxPoints of points (at least 2), in time order: the points are split into
// maxPoints / 2 runs of equal length, and of each run its lowest and highest rating are kept.
// A curve drawn through them shows every peak and trough a curve through all would show.
std::vector<RatingPoint> Thinned(const std::vector<RatingPoint>& points, size_t maxPoints);

}  // namespace tessik
