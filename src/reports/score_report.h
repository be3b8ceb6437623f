// Score lines against one opponent.
#pragma once

#include <string_view>

#include "reports/rating_type.h"

namespace tessik {

class CPluginApp;

// At a match offer or a game start: the score against the opponent, by the match options.
void ShowScoreForMatch(CPluginApp& app, std::string_view opponent, RatingType ratingType);
// At a finger, an assess or a name typed into the window: by the lookup options.
void ShowScoreForLookup(CPluginApp& app, std::string_view player);

}  // namespace tessik
