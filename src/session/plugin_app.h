// The application object: the session's state and the handlers of the host's thread messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/thread_queue.h"
#include "session/main_window.h"

namespace tessik {

class CPluginApp {
 public:
  virtual ~CPluginApp() = default;

  // Fixes the directories, then runs the main window modally (runMainWindow returns when its
  // run is over). Returns false: the program ends with the window.
  bool StartApplication(const std::function<void()>& runMainWindow);

  // Starts a session for userName; the dispatcher has set userName and guestSession.
  void Login();
  // Ends the session: the host's connection ended or the user closed the plug-in.
  void EndSession();
  void PrintTips();

  // The message map for thread messages.
  void OnThreadMessage(const ThreadMessage& message);
  void OnIPCNewPipe(int32_t pipeId, int32_t size);
  void OnIPCDataReady(int32_t pipeId, int32_t byteCount);

  MainWindow* mainWindow = nullptr;

  std::string userName;          // empty while no session is open
  std::string workingDirectory;  // ends in "/" when known
  std::string dataDirectory;     // workingDirectory + "tessik/"
  int32_t idleMinutes = 0;
  bool sessionEnded = false;
  bool settingsLoaded = false;
  bool guestSession = false;
};

// workingDirectory and dataDirectory for a current directory.
void SetDirectories(CPluginApp& app, std::string_view currentDirectory);

// A line into the output box; an empty line into an empty box leaves it empty.
void AppendOutputLine(CPluginApp& app, std::string_view line);

}  // namespace tessik
