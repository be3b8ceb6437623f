#include "session/plugin_app.h"
#include "store/handle.h"
#include "store/safe_save.h"

namespace tessik {

void CPluginApp::RebuildTotals() {
  if (opponentTotals) CountLogGames(*opponentTotals, gameLog);
}

std::error_code CPluginApp::SaveOpponentTotals() {
  if (!opponentTotals || !UserFilesAllowed()) return {};
  std::string lines;
  opponentTotals->ResetCursor(true);
  for (OpponentTotals entry; opponentTotals->NextEntry(entry) == 1;) {
    // A name is written as it is printed: a line feed in one would split its line in two.
    lines += PrintableName(entry.name) + " " + std::to_string(entry.won) + " " +
             std::to_string(entry.drawn) + " " + std::to_string(entry.lost) + "\n";
  }
  return WriteFileAtomically(
      {dataFolder.fd(), userName + ".stt", userName + ".stn", userName + ".sto"}, Backup::Replace,
      lines);
}

}  // namespace tessik
