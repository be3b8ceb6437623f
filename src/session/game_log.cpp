#include <cerrno>

#include "platform/read_file.h"
#include "session/plugin_app.h"
#include "store/game_log_file.h"

namespace tessik {

std::string CPluginApp::GameLogPath() const { return tessik::GameLogPath(dataDirectory, userName); }

GameLogState CPluginApp::LoadGameLog() {
  if (!UserFilesAllowed()) {
    gameLog.assign(1, MarkerRecord());
    return GameLogState::GuestLog;
  }
  gameLog.clear();
  return TakeGameLog(ReadGameLogFile(GameLogPath(), gameLog));
}

GameLogState CPluginApp::TakeGameLog(int error) {
  if (error == ENOENT) {
    gameLog.assign(1, MarkerRecord());  // games played before the import count from record 1
    return GameLogState::NoLog;
  }
  if (error != 0) {
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

}  // namespace tessik
