#include "stats/game_filter.h"

#include <algorithm>

namespace tessik {

namespace {

bool AcceptsTheGame(const GameFilter& filter, const Game& game) {
  if (filter.timeClass && TimeClassOf(game) != filter.timeClass) return false;
  if (filter.clock && !SameClock(ClockOf(game), *filter.clock)) return false;
  if (filter.variant && VariantOf(game) != *filter.variant) return false;
  const int opponentRating = game.record.opponentRating;
  if ((filter.minOpponentRating || filter.maxOpponentRating) && opponentRating == 0) return false;
  if (filter.minOpponentRating && opponentRating < *filter.minOpponentRating) return false;
  if (filter.maxOpponentRating && opponentRating > *filter.maxOpponentRating) return false;
  return !filter.ending || EndingOf(game) == *filter.ending;
}

}  // namespace

bool Accepts(const GameFilter& filter, const Game& game) {
  const GameRecord& record = game.record;
  if (!HasResult(record)) return false;  // no game: a marker
  if (filter.server && game.server != *filter.server) return false;
  // A game of unknown date is in no date range.
  const int64_t start = game.Start();
  const bool dated = start != kUnknownStartTime;
  if (filter.since && !(dated && start >= *filter.since)) return false;
  if (filter.until && !(dated && start < *filter.until)) return false;
  if (filter.types != AnyRatingType && (RatingTypeOf(record) & filter.types) == 0) return false;
  if (filter.white && (record.userWhite != 0) != *filter.white) return false;
  if (filter.rated && (record.rated != 0) != *filter.rated) return false;
  return !filter.AsksTheGame() || AcceptsTheGame(filter, game);
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
