#pragma once

#include <functional>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// Whether two records hold the same game: every field but the unused bits, the opponent
// compared over its first 15 characters.
bool SameGame(const GameRecord& a, const GameRecord& b);

// Whether a game recorded live and a game of the host's PGN are the same game: the same
// opponent (15 characters), colour and result, started at most two minutes apart (the start
// datagram and the PGN's time need not agree to the second).
bool SameGamePlayedLive(const GameRecord& live, const GameRecord& imported);

// Keeps one of each run of neighbouring equal games from index first on, in one pass. removed
// is told the index a removed record would have had at its turn (kept, removed).
void RemoveNeighbourDuplicates(std::vector<GameRecord>& games, size_t first,
                               const std::function<void(size_t, size_t)>& removed = {});

}  // namespace tessik
