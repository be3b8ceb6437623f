// The score lines against a player, as the options choose them, out through OutputStatLine.
#pragma once

#include <cstdint>
#include <string_view>

#include "store/rating_type.h"

namespace tessik {

class CPluginApp;

// The user's colour whose lines the next match report prints: 1 white, 2 black, 3 both. Set by
// RecordFinishedGame to the colour the user had in the game just ended; read by
// ShowScoreForMatch, which sets it back to 3.
extern int16_t g_colourFilter;

// At a match offer, a game start or a game end: by the match options, overall and in the
// rating type of the game.
void ShowScoreForMatch(CPluginApp& app, std::string_view opponent, RatingType ratingType);
// At a finger, an assess or a name typed into the window: by the lookup options, overall and
// in each rating type with games.
void ShowScoreForLookup(CPluginApp& app, std::string_view player);

}  // namespace tessik
