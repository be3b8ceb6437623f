// A login and the user's files: the data folder, the settings, the game log as it grows on disk,
// the totals file, and the box that offers a failed save again.

#include <cerrno>
#include <cstdio>

#include "host/game_start_info.h"
#include "host/host_message.h"
#include "platform/file_error.h"
#include "platform/private_directory.h"
#include "session/plugin_app.h"
#include "session/settings.h"
#include "store/game_log_file.h"
#include "store/handle.h"
#include "store/safe_save.h"

namespace tessik {

namespace {

// Asks the host for the rating datagram that an import or a conversion waits for.
void AwaitRatings(PendingImport pending) {
  g_pendingImport = pending;
  SendIPCValue(g_outputPipe, kMsgWantOtherDatagram, kRatingsDatagram);
}

// The data folder, made at login when it is missing rather than at start, so that a plug-in
// started by hand, with no host, leaves nothing behind. It is opened and checked once, and held
// open until the next login: every file of the session is reached through it, and so are the
// settings that a later end of the connection saves again. A folder that is not the user's own
// is not used at all: its files, the settings among them, could be anyone's.
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
    GameCounter counter;
    counter.Count(added);
    counter.AddTo(*opponentTotals);
  }
  gameLog.insert(gameLog.end(), unsaved.begin(), unsaved.end());
}

namespace {

// A line for the window and for the host's console alike, whatever the output options say:
// a game that is not saved must not go unnoticed where the user looks.
void TellEverywhere(CPluginApp& app, const std::string& line) {
  AppendOutputLine(app, line);
  SendIPCText(g_outputPipe, kMsgConsoleLine, line + "\n");
}

// A lock held by another (or none to be had) is no fault to fix: the games wait for the next
// save.
bool HeldByAnother(std::error_code error) { return FileCauseOf(error) == FileCause::LockViolation; }

std::string Reason(std::error_code error) {
  return HeldByAnother(error) ? "in use by another Tessik program" : WriteErrorText(error);
}

}  // namespace

bool CPluginApp::SaveUnsavedGames(bool boxes, bool last) {
  if (unsavedGames == 0) return true;
  const std::span<const GameRecord> games(gameLog.end() - static_cast<ptrdiff_t>(unsavedGames),
                                          gameLog.end());
  std::error_code error = AppendGameRecords(dataFolder.fd(), userName, games);
  while (error && !HeldByAnother(error) && boxes && ShowWriteError(FileCauseOf(error), "*.glg")) {
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

bool CPluginApp::ShowWriteError(FileCause cause, std::string_view fileLabel) {
  char text[512];
  // "occured": the box's own text, spelt as users have always seen it; keep it so.
  std::snprintf(text, sizeof text,
                "A write error occured with the %.*s-file.\r\nReason: %s  (Errorcode %u) \r\n"
                "If you can fix the problem, do so, then press retry.\r\n"
                "Else press cancel, all new data will be lost.",
                static_cast<int>(fileLabel.size()), fileLabel.data(), FileCauseReason(cause),
                static_cast<unsigned>(cause));
  return mainWindow != nullptr && mainWindow->AskRetryCancel(text, applicationName);
}

void CPluginApp::SaveWithRetry(const std::function<std::error_code()>& save,
                               std::string_view fileLabel) {
  for (std::error_code error = save(); error; error = save()) {
    if (!ShowWriteError(FileCauseOf(error), fileLabel)) return;
  }
}

std::string WriteErrorText(std::error_code error) { return DescribeFileCause(FileCauseOf(error)); }

}  // namespace tessik
