#include "host/game_start_info.h"
#include "host/host_message.h"
#include "platform/file_error.h"
#include "platform/private_directory.h"
#include "session/plugin_app.h"
#include "session/settings.h"

namespace tessik {

namespace {

// Asks the host for the rating datagram that an import or a conversion waits for.
void AwaitRatings(PendingImport pending) {
  g_pendingImport = pending;
  SendIPCValue(g_outputPipe, kMsgWantOtherDatagram, kRatingsDatagram);
}

// The data folder, made at the first login rather than at start, so that a plug-in started by
// hand, with no host, leaves nothing behind. It is opened and checked once, and held open until
// the next login: every file of the session is reached through it, and the settings that a
// later end of the connection saves again. A folder that is not the
// user's own is not used at all: its files, the settings among them, could be anyone's.
bool UseDataFolder(CPluginApp& app) {
  app.dataFolder.Close();
  const FolderCheck check = OpenPrivateFolder(app.workingDirectory, "tessik", app.dataFolder);
  if (!check.error) {
    if (check.tightened) {
      AppendOutputLine(app, "The data folder " + app.workingDirectory +
                                "tessik was open to other users: it is now closed to them.");
    }
    return true;
  }
  AppendOutputLine(app, "The data folder " + app.workingDirectory + "tessik " +
                            check.error.message() +
                            ": nothing will be read from or saved to disk in this session.");
  return false;
}

void LoadSettingsFile(CPluginApp& app) {
  const std::error_code error = LoadSettings(app.dataFolder.fd());
  // A file that is there but cannot be read is never replaced by the values in memory.
  app.settingsFileBlocked = error && error != std::errc::no_such_file_or_directory;
  if (app.settingsFileBlocked) {
    AppendOutputLine(app, "Cannot read the settings file " + app.dataDirectory +
                              std::string(kSettingsFile) + " (" + DescribeReadError(error) +
                              "): the options will not be saved in this session.");
  }
}

}  // namespace

void CPluginApp::Login() {
  if (UseDataFolder(*this)) {
    LoadSettingsFile(*this);
  } else {
    settingsFileBlocked = true;
    userFilesBlocked = true;
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
  if (mainWindow != nullptr) mainWindow->GameLogChanged();
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
