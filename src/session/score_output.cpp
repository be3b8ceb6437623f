#include "session/score_output.h"

#include "reports/score_report.h"
#include "session/plugin_app.h"
#include "session/settings.h"

namespace tessik {

int16_t g_colourFilter = 3;

namespace {

// The line selection two options make: the overall line, and the lines of the colours asked.
int Selection(uint8_t overall, uint8_t byColour, int colours) {
  return (overall != 0 ? kLineOverall : 0) + (byColour != 0 ? colours : 0);
}

void Output(CPluginApp& app, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) OutputStatLine(app, line);
}

}  // namespace

void ShowScoreForMatch(CPluginApp& app, std::string_view opponent, RatingType ratingType) {
  LineChoice choice;
  choice.overall =
      Selection(settings.matchEtcDisplayAll, settings.matchEtcDisplayAllBw, g_colourFilter);
  choice.byType =
      Selection(settings.matchEtcDisplayRtype, settings.matchEtcDisplayRtypeBw, g_colourFilter);
  choice.silent = settings.silentIfNoGames != 0;
  choice.showExpected = settings.showExpectedScore != 0;
  app.RefreshGameLog();
  Output(app, MatchScoreLines(app.gameLog, opponent, ratingType, choice));
  g_colourFilter = 3;
}

void ShowScoreForLookup(CPluginApp& app, std::string_view player) {
  constexpr int kBothColours = kLineWhite | kLineBlack;
  LineChoice choice;
  choice.overall =
      Selection(settings.fingerAssessDisplayAll, settings.fingerAssessDisplayAllBw, kBothColours);
  choice.byType = Selection(settings.fingerAssessDisplayRtypes,
                            settings.fingerAssessDisplayRtypesBw, kBothColours);
  choice.silent = settings.silentIfNoGames != 0;
  choice.showExpected = settings.showExpectedScore != 0;
  app.RefreshGameLog();
  Output(app, LookupScoreLines(app.gameLog, player, choice));
}

}  // namespace tessik
