#include "session/import_handlers.h"

#include "host/game_start_info.h"
#include "import/old_log.h"
#include "import/pgn_import.h"
#include "platform/file_error.h"
#include "session/plugin_app.h"

namespace tessik {

namespace {

// Rewrites the log with rewrite, which takes the log's games as read and tells whether it
// replaced the log. The log is read up to date first, so that the rewrite starts from what
// other sessions of the user recorded meanwhile too; the games not saved yet stay apart, last,
// to be appended to the new log. After a rewrite the log is read anew: the totals are counted
// from the new log, with whatever it gained.
template <typename Rewrite>
void RewriteLog(CPluginApp& app, Rewrite rewrite) {
  app.RefreshGameLog();
  const auto unsavedFrom = app.gameLog.end() - static_cast<ptrdiff_t>(app.unsavedGames);
  const std::vector<GameRecord> unsaved(unsavedFrom, app.gameLog.end());
  app.gameLog.erase(unsavedFrom, app.gameLog.end());
  const bool written = rewrite(app.gameLog);
  app.gameLog.insert(app.gameLog.end(), unsaved.begin(), unsaved.end());
  app.PrintTips();
  if (written) {
    app.logMark = LogMark();  // another file now: read whole
    app.RefreshGameLog();
  } else if (app.opponentTotals) {
    // The games stay in memory as the rewrite made them: games counted before are in them.
    app.opponentTotals = std::make_unique<OpponentTotalsList>();
    app.RebuildTotals();
  }
}

}  // namespace

void ImportPastGames(CPluginApp& app) {
  RewriteLog(app, [&app](std::vector<GameRecord>& games) {
    std::vector<GameRecord> playedSince;  // games recorded live while the import was awaited
    for (size_t i = 1; i < games.size(); ++i) {
      if (games[i].origin == kOriginLive) playedSince.push_back(games[i]);
    }
    ImportOutcome outcome = ImportPgn(games, app.dataFolder.fd(), app.logMark, app.userName,
                                      app.workingDirectory, g_importReply.ratings, playedSince);
    if (outcome.reportError) {
      AppendOutputLine(app, "Could not write the import's report " + app.workingDirectory +
                                "pgn_read.txt (" + outcome.reportError.message() +
                                "): the import went on without it.");
    }
    if (!outcome.Complete()) {
      AppendOutputLine(app, "Cannot read the PGN file " + outcome.pgnPath + " (" +
                                DescribeReadError(outcome.pgnError) +
                                "): no past games were imported. The import will be tried again "
                                "at the next login.");
    } else if (outcome.writeError) {
      AppendOutputLine(app, "The game log " + app.GameLogPath() + " could not be written (" +
                                WriteErrorText(outcome.writeError) +
                                "): the import will be tried again at the next login.");
    } else if (outcome.NoPgn()) {
      AppendOutputLine(app, "No PGN file of your past games at " + outcome.pgnPath +
                                ": the game log starts without them.");
    } else {
      // "Succesfully": the system's own text, spelt as users have always seen it; keep it so.
      AppendOutputLine(app, "Succesfully imported the game results from your pgn");
    }
    return outcome.Complete() && !outcome.writeError;
  });
}

void ConvertOldLog(CPluginApp& app) {
  RewriteLog(app, [&app](std::vector<GameRecord>& games) {
    ConversionOutcome outcome =
        UpgradeOldLog(games, app.dataFolder.fd(), app.logMark, app.userName, g_importReply.ratings);
    if (!outcome.error) {
      AppendOutputLine(app, "...done");
    } else {
      AppendOutputLine(app, "The converted game log could not be saved (" +
                                WriteErrorText(outcome.error) +
                                "): the old log is kept and will be converted again at the next "
                                "login.");
    }
    return !outcome.error;
  });
}

}  // namespace tessik
