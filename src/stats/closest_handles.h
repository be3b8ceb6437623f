// Opponents close to a name that matched none: what the user may have meant.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game.h"

namespace tessik {

// The opponents of games by their edit distance to name, letter case aside, the closest first
// and equals in handle order; at most count of them.
std::vector<std::string> ClosestHandles(std::span<const Game> games, std::string_view name,
                                        size_t count);

}  // namespace tessik
