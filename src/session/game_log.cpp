#include <cerrno>

#include "host/host_message.h"
#include "platform/file_error.h"
#include "session/plugin_app.h"
#include "store/game_log_file.h"

namespace tessik {

std::string CPluginApp::GameLogPath() const { return tessik::GameLogPath(dataDirectory, userName); }

GameLogState CPluginApp::LoadGameLog() {
  unsavedGames = 0;
  logMark = LogMark();
  if (!UserFilesAllowed()) {
    gameLog.assign(1, MarkerRecord());
    return GameLogState::GuestLog;
  }
  gameLog.clear();
  return TakeGameLog(ReadGameLogFile(dataFolder.fd(), userName, gameLog, &logMark));
}

GameLogState CPluginApp::TakeGameLog(std::error_code error) {
  if (error == std::errc::no_such_file_or_directory) {
    gameLog.assign(1, MarkerRecord());  // games played before the import count from record 1
    return GameLogState::NoLog;
  }
  if (error) {
    gameLog.clear();
    AppendOutputLine(*this, "Cannot read the game log " + GameLogPath() + " (" +
                                DescribeReadError(error) +
                                "): nothing will be saved in this session.");
    userFilesBlocked = true;
    gameLog.assign(1, MarkerRecord());
    return GameLogState::UnreadableLog;
  }
  if (gameLog.empty()) {  // not even a marker: start afresh
    gameLog.assign(1, MarkerRecord());
    return GameLogState::NoLog;
  }
  if (AwaitsFirstImport(gameLog[0])) return GameLogState::PendingLog;
  return HoldsMarker(gameLog[0]) ? GameLogState::CurrentLog : GameLogState::OldLog;
}

void CPluginApp::RefreshGameLog() {
  if (!UserFilesAllowed() || !dataFolder.IsOpen() || !opponentTotals) return;
  std::vector<GameRecord> added;
  const LogChange change = ReadGameLogSince(dataFolder.fd(), userName, logMark, added);
  if (change == LogChange::None) return;
  // The unsaved games stay last: the log's records go before them.
  std::vector<GameRecord> unsaved(gameLog.end() - static_cast<ptrdiff_t>(unsavedGames),
                                  gameLog.end());
  if (change == LogChange::Replaced) {
    gameLog = std::move(added);
    if (gameLog.empty()) gameLog.assign(1, MarkerRecord());
    opponentTotals = std::make_unique<OpponentTotalsList>();
    CountLogGames(*opponentTotals, gameLog);
  } else {
    gameLog.resize(gameLog.size() - unsavedGames);
    gameLog.insert(gameLog.end(), added.begin(), added.end());
    GameCounter counter(added.size());
    counter.Count(added);
    counter.AddTo(*opponentTotals);
  }
  gameLog.insert(gameLog.end(), unsaved.begin(), unsaved.end());
  if (mainWindow != nullptr) mainWindow->GameLogChanged();
}

namespace {

// A line for the window and for the host's console alike, whatever the output options say:
// a game that is not saved must not go unnoticed where the user looks.
void TellEverywhere(CPluginApp& app, const std::string& line) {
  AppendOutputLine(app, line);
  SendIPCText(g_outputPipe, kMsgConsoleLine, line + "\n");
}

std::string Reason(std::error_code error) {
  return error == std::errc::operation_would_block ? "in use by another Tessik program"
                                                   : WriteErrorText(error);
}

}  // namespace

bool CPluginApp::SaveUnsavedGames(bool boxes, bool last) {
  if (unsavedGames == 0) return true;
  const std::span<const GameRecord> games(gameLog.end() - static_cast<ptrdiff_t>(unsavedGames),
                                          gameLog.end());
  std::error_code error = AppendGameRecords(dataFolder.fd(), userName, games);
  // A lock held by another is no fault to fix: the games wait for the next save.
  while (error && error != std::errc::operation_would_block && boxes &&
         ShowWriteError(FileCauseOf(error), "*.glg")) {
    error = AppendGameRecords(dataFolder.fd(), userName, games);
  }
  if (!error) {
    // Saved: they come back from the log at the next look, with whatever else it gained.
    gameLog.resize(gameLog.size() - unsavedGames);
    unsavedGames = 0;
    return true;
  }
  const std::string count = unsavedGames == 1 ? "1 game" : std::to_string(unsavedGames) + " games";
  TellEverywhere(*this, "The game log of " + userName + " could not be written (" + Reason(error) +
                            "): " + count +
                            (last ? " of this session not saved."
                                  : " not saved yet, tried again after the next game and at the "
                                    "end of the session."));
  return false;
}

}  // namespace tessik
