#include "session/plugin_app.h"

namespace tessik {

void CPluginApp::Login() {
  // The settings, the opponent totals and the game log are loaded here once the game store
  // and the settings file exist.
  if (mainWindow != nullptr) mainWindow->SetTitle(std::string(kTitleSessionPrefix) + userName);
  sessionEnded = false;
  settingsLoaded = true;
}

void CPluginApp::PrintTips() {
  AppendOutputLine(*this, "");
  AppendOutputLine(*this,
                   "- By default all the options that make the plugin show more details are "
                   "turned off so you won't get spammed by information you may not want. Look at "
                   "the options menu and turn on what you like");
  AppendOutputLine(*this, "");
  AppendOutputLine(*this,
                   "- If you don't want to see the plugin window all the time, minimize it. It "
                   "will go to the System tray then and remember it for the next start");
}

}  // namespace tessik
