#include "reports/score_report.h"

namespace tessik {

// The score lines need the game log and the settings; until they exist nothing is printed.
void ShowScoreForMatch(CPluginApp&, std::string_view, RatingType) {}

void ShowScoreForLookup(CPluginApp&, std::string_view) {}

}  // namespace tessik
