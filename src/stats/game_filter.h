// Which games a command looks at: a server, a date range, rating types, a colour, rated or not,
// a time class, a clock, a variant, the opponent's rating and how the game ended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game.h"
#include "stats/game_kind.h"
#include "store/rating_type.h"

namespace tessik {

struct GameFilter {
  std::optional<int64_t> since;  // the first second counted (UTC)
  std::optional<int64_t> until;  // the first second no longer counted
  RatingType types = AnyRatingType;
  std::optional<bool> white;  // the user's colour
  std::optional<bool> rated;
  std::optional<Server> server;  // only that server's games
  std::optional<TimeClass> timeClass;
  std::optional<GameClock> clock;
  std::optional<std::string> variant;  // as VariantNamed gives it: empty for ordinary chess
  // The opponent's rating, both ends included: a game of unknown opponent rating is in no band.
  std::optional<int> minOpponentRating, maxOpponentRating;
  std::optional<Ending> ending;

  // Whether the filter asks what the database's query does not: the time class, the clock, the
  // variant, the opponent's rating or the ending.
  bool AsksTheGame() const {
    return timeClass || clock || variant || minOpponentRating || maxOpponentRating || ending;
  }
  // Whether every game of the plug-in's log that has a result passes.
  bool TakesEveryLogGame() const {
    return !since && !until && types == AnyRatingType && !white && !rated &&
           (!server || *server == Server::Host) && !AsksTheGame();
  }
};

// Whether game has a result (a marker or a damaged record has none) and filter lets it through.
bool Accepts(const GameFilter& filter, const Game& game);

// The name of one rating type as the score lines show it ("blitz", "standard", "loser's").
std::string_view RatingTypeName(RatingType type);
// The nine single rating types, in flag order.
std::vector<RatingType> EveryRatingType();

}  // namespace tessik
