// The application object: the session's state and the handlers of the host's thread messages.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/private_directory.h"
#include "platform/thread_queue.h"
#include "session/main_window.h"
#include "store/file_cause.h"
#include "store/game_log_file.h"
#include "store/game_record.h"
#include "store/opponent_totals.h"

namespace tessik {

enum class GameLogState {
  GuestLog,       // no file touched: a guest, or a session whose files are off
  NoLog,          // no log yet: a new user
  PendingLog,     // a log of games played before the first import completed
  CurrentLog,     // a log of the current format was loaded
  OldLog,         // a log of an older version was loaded
  UnreadableLog,  // a log exists but could not be read; the user's files stay untouched
};

class CPluginApp {
 public:
  virtual ~CPluginApp() = default;

  // Fixes the directories, then runs the main window modally (runMainWindow returns when its
  // run is over) and saves what a session still open holds. Returns false: the program ends.
  bool StartApplication(const std::function<void()>& runMainWindow);

  // Starts a session for userName; the dispatcher has set userName, guestSession and
  // userFilesBlocked.
  void Login();
  // Ends the session: the host's connection ended or the user closed the plug-in.
  void EndSession();
  // The user asked to close the window: the plug-in ends when the user confirms.
  void ConfirmClose();
  void PrintTips();
  // A signal to end: the program ends as a closed window does, saving what the session holds
  // without boxes. hostGone: the host died; the names of its pipes are removed, as it would
  // have removed them.
  void Terminate(bool hostGone);

  GameLogState LoadGameLog();
  // Brings gameLog and the totals up to the log on disk: the games another session of the user
  // appended since the last look, or the whole log when a rewrite replaced it. Called before
  // every look-up and before the totals are saved.
  void RefreshGameLog();
  // Appends the games not saved yet (unsavedGames) to the log; with boxes, a write error asks
  // the user to retry. Games still unsaved stay, and the failure is told in the window and on
  // the host's console (last: the session ends, there is no later try). Returns whether every
  // game is saved.
  bool SaveUnsavedGames(bool boxes, bool last);
  // What a login makes of the log read into gameLog; error: the read's (clear when it was read
  // whole).
  GameLogState TakeGameLog(std::error_code error);
  std::string GameLogPath() const;
  // Counts every game of gameLog into opponentTotals.
  void RebuildTotals();
  std::error_code SaveOpponentTotals();
  // The write-error box for a file label such as "*.stt"; true when the user chose Retry.
  bool ShowWriteError(FileCause cause, std::string_view fileLabel);
  // Repeats save while it fails and the user answers Retry.
  void SaveWithRetry(const std::function<std::error_code()>& save, std::string_view fileLabel);
  // Between a login and the end of its session.
  bool SessionOpen() const { return opponentTotals != nullptr && !sessionEnded; }
  // Whether the settings may be written: they were read at a login, from a file that could be
  // read or from none.
  bool SettingsWritable() const { return settingsLoaded && !settingsFileBlocked; }
  // Whether this session may read and write the user's own files.
  bool UserFilesAllowed() const { return !guestSession && !userFilesBlocked; }

  // One tick of timer 1.
  void OnIdleTimer();

  // The message map for thread messages.
  void OnThreadMessage(const ThreadMessage& message);
  void OnIPCNewPipe(int32_t pipeId, int32_t size);
  void OnIPCDataReady(int32_t pipeId, int32_t byteCount);

  MainWindow* mainWindow = nullptr;
  std::string applicationName = "tessik";  // the program file's name: the boxes' caption

  std::string userName;          // empty while no session is open
  std::string workingDirectory;  // ends in "/" when known
  std::string dataDirectory;     // workingDirectory + "tessik/"
  int32_t idleMinutes = 0;
  bool sessionEnded = false;
  bool settingsLoaded = false;
  // The settings file exists but could not be read at login: it is not saved over.
  bool settingsFileBlocked = false;
  bool guestSession = false;
  // The handle cannot name a file, or the log could not be read: nothing of the user's is
  // read or written in this session.
  bool userFilesBlocked = false;
  Folder dataFolder;  // the data folder, checked at login and held open until the next one
  std::unique_ptr<OpponentTotalsList> opponentTotals;  // from login to the session's end
  // Record 0 is the marker. In a session that keeps the user's files it holds the log's records
  // as read up to logMark, then the last unsavedGames games, which the log does not hold yet;
  // the totals count the log's records alone.
  std::vector<GameRecord> gameLog;
  LogMark logMark;
  size_t unsavedGames = 0;
};

// workingDirectory and dataDirectory for a current directory.
void SetDirectories(CPluginApp& app, std::string_view currentDirectory);

// A line into the output box; an empty line into an empty box leaves it empty.
void AppendOutputLine(CPluginApp& app, std::string_view line);
// A score line: to the output box and/or the host's console, as the settings say.
void OutputStatLine(CPluginApp& app, std::string_view line);

// Why a file could not be written, for a line in the output box, as the write-error box names
// it: "disk full, error code 13".
std::string WriteErrorText(std::error_code error);

}  // namespace tessik
