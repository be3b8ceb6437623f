// Which games a command looks at: a server, a date range, rating types, a colour, rated or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game.h"
#include "store/rating_type.h"

namespace tessik {

struct GameFilter {
  std::optional<int64_t> since;  // the first second counted (UTC)
  std::optional<int64_t> until;  // the first second no longer counted
  RatingType types = AnyRatingType;
  std::optional<bool> white;  // the user's colour
  std::optional<bool> rated;
  std::optional<Server> server;  // only that server's games
};

// Whether game has a result (a marker or a damaged record has none) and filter lets it through.
bool Accepts(const GameFilter& filter, const Game& game);

// The name of one rating type as the score lines show it ("blitz", "standard", "loser's").
std::string_view RatingTypeName(RatingType type);
// The nine single rating types, in flag order.
std::vector<RatingType> EveryRatingType();

}  // namespace tessik
