#include "session/plugin_app.h"
#include "store/safe_save.h"

namespace tessik {

void CPluginApp::RebuildTotals() {
  if (opponentTotals) CountLogGames(*opponentTotals, gameLog);
}

FileCause CPluginApp::SaveOpponentTotals() {
  if (!opponentTotals || !UserFilesAllowed()) return kFileNone;
  std::string lines;
  opponentTotals->ResetCursor(true);
  for (OpponentTotals entry; opponentTotals->NextEntry(entry) == 1;) {
    lines += entry.name + " " + std::to_string(entry.won) + " " + std::to_string(entry.drawn) +
             " " + std::to_string(entry.lost) + "\n";
  }
  const std::string base = dataDirectory + userName;
  return WriteFileAtomically(base + ".stt", base + ".stn", base + ".sto", Backup::Replace, lines);
}

}  // namespace tessik
