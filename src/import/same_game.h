#pragma once

#include <functional>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// Whether two records hold the same game: every field but the unused bits, the opponent
// compared over its first 15 characters.
bool SameGame(const GameRecord& a, const GameRecord& b);

// Keeps one of each run of neighbouring equal games from index first on, in one pass. removed
// is told the index a removed record would have had at its turn (kept, removed).
void RemoveNeighbourDuplicates(std::vector<GameRecord>& games, size_t first,
                               const std::function<void(size_t, size_t)>& removed = {});

}  // namespace tessik
