#include "session/import_handlers.h"

#include <cerrno>
#include <cstring>

#include "host/game_start_info.h"
#include "import/old_log.h"
#include "import/pgn_import.h"
#include "platform/read_file.h"
#include "session/plugin_app.h"

namespace tessik {

namespace {

// The totals counted anew from the new table: games counted live before it came are in it.
void RecountTotals(CPluginApp& app) {
  if (!app.opponentTotals) return;
  app.opponentTotals = std::make_unique<OpponentTotalsList>();
  app.RebuildTotals();
}

void Finish(CPluginApp& app) {
  app.PrintTips();
  RecountTotals(app);
  if (app.mainWindow != nullptr) app.mainWindow->GameLogChanged();
}

}  // namespace

void ImportPastGames(CPluginApp& app) {
  std::vector<GameRecord> playedSince;  // games recorded live while the import was awaited
  for (size_t i = 1; i < app.gameLog.size(); ++i) {
    if (app.gameLog[i].origin == kOriginLive) playedSince.push_back(app.gameLog[i]);
  }
  ImportOutcome outcome = ImportPgn(app.gameLog, app.dataDirectory, app.userName,
                                    app.workingDirectory, g_importReply.ratings, playedSince);
  if (outcome.reportError != 0) {
    AppendOutputLine(app, "Could not write the import's report " + app.workingDirectory +
                              "pgn_read.txt (" + std::strerror(outcome.reportError) +
                              "): the import went on without it.");
  }
  if (!outcome.Complete()) {
    AppendOutputLine(app, "Cannot read the PGN file " + outcome.pgnPath + " (" +
                              DescribeReadError(outcome.pgnError) +
                              "): no past games were imported. The import will be tried again at "
                              "the next login.");
  } else if (!outcome.written) {
    AppendOutputLine(app, "The game log " + app.GameLogPath() + " could not be written (" +
                              outcome.problem +
                              "): the import will be tried again at the next login.");
  } else if (outcome.pgnError == ENOENT) {
    AppendOutputLine(app, "No PGN file of your past games at " + outcome.pgnPath +
                              ": the game log starts without them.");
  } else {
    // "Succesfully": the system's own text, spelt as users have always seen it; keep it so.
    AppendOutputLine(app, "Succesfully imported the game results from your pgn");
  }
  Finish(app);
}

void ConvertOldLog(CPluginApp& app) {
  ConversionOutcome outcome =
      UpgradeOldLog(app.gameLog, app.dataDirectory, app.userName, g_importReply.ratings);
  if (outcome.written) {
    AppendOutputLine(app, "...done");
  } else {
    AppendOutputLine(app, "The converted game log could not be saved (" + outcome.problem +
                              "): the old log is kept and will be converted again at the next "
                              "login.");
  }
  Finish(app);
}

}  // namespace tessik
