#include "session/query_opponent.h"

#include "session/plugin_app.h"
#include "session/score_output.h"

namespace tessik {

void QueryOpponent(CPluginApp& app, std::string_view typed) {
  if (typed.empty() || !app.opponentTotals) return;
  app.RefreshGameLog();  // the name may be of a game another session of the user recorded
  std::string name = app.opponentTotals->CompleteName(typed);
  if (!name.empty()) ShowScoreForLookup(app, name);
}

}  // namespace tessik
