#include "session/report_output.h"

#include "reports/ranking_reports.h"
#include "session/plugin_app.h"

namespace tessik {

namespace {

template <typename Report>
void Show(CPluginApp& app, Report report) {
  if (app.userName.empty() || !app.opponentTotals) return;
  app.RefreshGameLog();
  for (const std::string& line : report(*app.opponentTotals)) AppendOutputLine(app, line);
}

}  // namespace

void ShowMostGames(CPluginApp& app) { Show(app, MostGamesReport); }
void ShowBest(CPluginApp& app) { Show(app, BestReport); }
void ShowWorst(CPluginApp& app) { Show(app, WorstReport); }
void ShowOverall(CPluginApp& app) { Show(app, OverallReport); }

}  // namespace tessik
