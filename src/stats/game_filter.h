// Which games of a log a command looks at: a date range, rating types, a colour, rated or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/game_record.h"
#include "store/rating_type.h"

namespace tessik {

struct GameFilter {
  std::optional<int64_t> since;  // the first second counted (UTC)
  std::optional<int64_t> until;  // the first second no longer counted
  RatingType types = AnyRatingType;
  std::optional<bool> white;  // the user's colour
  std::optional<bool> rated;
  std::optional<std::string> server;  // only that server's games
};

// Whether a record is a game (not a marker) that filter lets through.
bool Accepts(const GameFilter& filter, const GameRecord& game);

// The name of one rating type as the score lines show it ("blitz", "standard", "loser's").
std::string_view RatingTypeName(RatingType type);
// The nine single rating types, in flag order.
std::vector<RatingType> EveryRatingType();

}  // namespace tessik
