// Sorts the fixed-time pool games from the ordinary ones by following the user's two rating
// chains of each category backwards from the current ratings. Writes only the pool field.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// The user's current ratings: blitz, 5-minute, bullet, 1-minute, standard, 15-minute.
using CurrentRatings = std::array<int32_t, 6>;

void ReconstructRatingChains(std::vector<GameRecord>& games, const CurrentRatings& ratings);

}  // namespace tessik
