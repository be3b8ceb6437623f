#include <sys/stat.h>

#include <cerrno>

#include "host/game_start_info.h"
#include "host/host_message.h"
#include "platform/read_file.h"
#include "session/plugin_app.h"
#include "ui/settings.h"

namespace tessik {

namespace {

// Asks the host for the rating datagram that an import or a conversion waits for.
void AwaitRatings(PendingImport pending) {
  g_pendingImport = pending;
  SendIPCValue(g_outputPipe, kMsgWantOtherDatagram, 87);
}

}  // namespace

void CPluginApp::Login() {
  // Made at the first login, not at start: a plug-in started by hand, with no host, leaves
  // nothing behind.
  mkdir((workingDirectory + "tessik").c_str(), 0777);  // it may exist already
  int settingsError = LoadSettings(dataDirectory);
  // A file that is there but cannot be read is never replaced by the values in memory.
  settingsFileBlocked = settingsError != 0 && settingsError != ENOENT;
  if (settingsFileBlocked) {
    AppendOutputLine(*this, "Cannot read the settings file " + dataDirectory +
                                std::string(kSettingsFile) + " (" +
                                DescribeReadError(settingsError) +
                                "): the options will not be saved in this session.");
  }
  opponentTotals = std::make_unique<OpponentTotalsList>();
  if (mainWindow != nullptr) mainWindow->SetTitle(std::string(kTitleSessionPrefix) + userName);
  sessionEnded = false;
  settingsLoaded = true;
  if (settings.preventIdleDisconnection == 1 && mainWindow != nullptr) {
    mainWindow->StartIdleTimer();
  }
  switch (LoadGameLog()) {
    case GameLogState::GuestLog:
    case GameLogState::UnreadableLog:
      break;
    case GameLogState::PendingLog:
      RebuildTotals();  // the games played so far count until the import is done
      [[fallthrough]];
    case GameLogState::NoLog:
      AppendOutputLine(*this, "Hello " + userName);
      AwaitRatings(kFirstImport);
      break;
    case GameLogState::CurrentLog:
      RebuildTotals();
      if (settings.startMinimized != 0 && mainWindow != nullptr) mainWindow->Minimize();
      break;
    case GameLogState::OldLog:
      AppendOutputLine(*this, "Updating the gamelog...");
      AwaitRatings(kConversion);
      break;
  }
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
