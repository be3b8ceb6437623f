// The application's start and end: the directories, the main window's run, the end of a session,
// the close and the signals that end the program.

#include <linux/limits.h>
#include <unistd.h>

#include <cstdio>

#include "host/game_start_info.h"
#include "host/ipc_pipe.h"
#include "session/plugin_app.h"
#include "session/settings.h"

namespace tessik {

void SetDirectories(CPluginApp& app, std::string_view currentDirectory) {
  app.workingDirectory = currentDirectory;
  if (!app.workingDirectory.empty() && app.workingDirectory.back() != '/') {
    app.workingDirectory += '/';
  }
  app.dataDirectory = DataDirectoryOf(app.workingDirectory);
}

bool CPluginApp::StartApplication(const std::function<void()>& runMainWindow) {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) {
    std::perror("_getcwd error");
    SetDirectories(*this, "");
  } else {
    SetDirectories(*this, buffer);
  }
  settingsLoaded = false;
  idleMinutes = 0;
  runMainWindow();
  if (opponentTotals && !sessionEnded) {  // closed without ending the session: no boxes now
    if (UserFilesAllowed()) {
      SaveUnsavedGames(false, true);
      RefreshGameLog();
      SaveOpponentTotals();
    }
    if (SettingsWritable()) SaveSettings(dataFolder.fd());
    opponentTotals.reset();
  }
  return false;
}

void CPluginApp::EndSession() {
  if (opponentTotals && UserFilesAllowed()) {
    SaveUnsavedGames(true, true);
    RefreshGameLog();  // the totals as the log now stands, other sessions' games included
    SaveWithRetry([this] { return SaveOpponentTotals(); }, "*.stt");
  }
  if (SettingsWritable()) {
    SaveWithRetry([this] { return SaveSettings(dataFolder.fd()); }, "*.ini");
  }
  sessionEnded = true;
  // Neither the awaited ratings nor a running game belong to the next session.
  g_pendingImport = kNothingAwaited;
  g_gameStartInfo.gameNumber.clear();
  if (settings.preventIdleDisconnection == 1 && mainWindow != nullptr) {
    mainWindow->StopIdleTimer();
  }
  userName.clear();
  if (mainWindow != nullptr) mainWindow->SetTitle(kTitleSessionEnded);
  opponentTotals.reset();
  if (settings.minimizeToSystray != 0 && settings.startMinimized != 0 && mainWindow != nullptr) {
    mainWindow->RemoveTrayIcon();  // "start minimized" stays on for the next start
    // Without its icon the window could not be reached while the program stays.
    if (settings.closeWithConnection != 1) mainWindow->ShowWindow();
  }
  if (settings.closeWithConnection == 1 && mainWindow != nullptr) mainWindow->Close();
}

void CPluginApp::ConfirmClose() {
  if (mainWindow == nullptr ||
      !mainWindow->AskYesNo("This will close the plugin (not only the window)", "Close Plugin?")) {
    return;
  }
  EndSession();
  if (settings.closeWithConnection != 1 && mainWindow != nullptr) mainWindow->Close();
}

void CPluginApp::Terminate(bool hostGone) {
  for (const CIpcPipe* pipe : {&g_inputPipe, &g_outputPipe}) {
    if (hostGone && pipe->IsOpen()) RemovePipeObjects(pipe->pipeId);
  }
  if (mainWindow != nullptr) mainWindow->Close();
}

}  // namespace tessik
