#include "stats/game_filter.h"

#include <algorithm>

namespace tessik {

bool Accepts(const GameFilter& filter, const GameRecord& game) {
  if (game.result < kUserWon || game.result > kUserLost) return false;  // no game: a marker
  // A game of unknown date is in no date range.
  const bool dated = game.startTime != kUnknownStartTime;
  if (filter.since && !(dated && game.startTime >= *filter.since)) return false;
  if (filter.until && !(dated && game.startTime < *filter.until)) return false;
  if ((RatingTypeOf(game) & filter.types) == 0) return false;
  if (filter.white && (game.userWhite != 0) != *filter.white) return false;
  return !filter.rated || (game.rated != 0) == *filter.rated;
}

std::string_view RatingTypeName(RatingType type) {
  std::string_view name = RatingTypeSuffix(type);  // " in blitz", " standard"
  name.remove_prefix(std::min(name.size(), name.starts_with(" in ") ? size_t{4} : size_t{1}));
  return name;
}

std::vector<RatingType> EveryRatingType() {
  std::vector<RatingType> types;
  for (RatingType type = kRatingWild; type <= kRating15Minute; type <<= 1) types.push_back(type);
  return types;
}

}  // namespace tessik
