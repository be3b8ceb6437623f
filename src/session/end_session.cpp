#include "session/plugin_app.h"

namespace tessik {

void CPluginApp::EndSession() {
  // Saving the totals and the settings, stopping the idle timer and removing the tray icon
  // join these steps with the game store, the settings file and the tray.
  sessionEnded = true;
  userName.clear();
  if (mainWindow != nullptr) mainWindow->SetTitle(kTitleSessionEnded);
  // "close with connection" is on until the settings file can turn it off.
  if (mainWindow != nullptr) mainWindow->Close();
}

}  // namespace tessik
