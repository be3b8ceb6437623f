#include <linux/limits.h>
#include <unistd.h>

#include <cstdio>

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

}  // namespace tessik
