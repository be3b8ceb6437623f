// The plug-in process: started by the host, which then announces its pipes.
#include <unistd.h>
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "platform/last_error.h"
#include "platform/thread_queue.h"
#include "session/plugin_app.h"
#include "ui/plugin_dlg.h"
#include "ui/termination_watch.h"
#include "ui/thread_message_pump.h"

namespace {

constexpr char kWhatThisIs[] =
    "tessik: the Tessik game statistics plug-in of the Vexmoor chess client; Vexmoor starts it "
    "and talks to it (to try it without Vexmoor, run it under vexmoor-sim).";

bool HasDisplay() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const pid_t host = getppid();
  tessik::TerminationWatch::BlockSignals();
  // A host starts the plug-in; a person who starts it from a terminal is told what it is.
  if (!HasDisplay()) {
    std::fprintf(stderr, "%s\nIt needs a display, and none is set (DISPLAY).\n", kWhatThisIs);
    return 1;
  }
  if (isatty(STDIN_FILENO) != 0) std::fprintf(stderr, "%s\n", kWhatThisIs);
  // Bound before Qt starts its threads: a queue bound in a directory of its own sets the
  // environment.
  tessik::ThreadQueue queue;
  if (!queue.Bind()) {
    std::fprintf(stderr, "tessik: cannot open the message queue (error %lx): %s\n",
                 static_cast<unsigned long>(tessik::GetLastError()), queue.BindFault().c_str());
    return 1;
  }
  QApplication qtApplication(argc, argv);
  tessik::CPluginApp app;
  app.applicationName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName().toStdString();
  tessik::ThreadMessagePump pump(queue, app);
  // Ended by a signal, or left by its host: the program ends as a closed window does.
  auto terminate = [&app, host] { app.Terminate(getppid() != host); };
  tessik::TerminationWatch watch(terminate);
  if (getppid() != host) QTimer::singleShot(0, terminate);  // the host died before the watch
  // The window's run is the program's event loop; it ends with the window (Close).
  QApplication::setQuitOnLastWindowClosed(false);
  app.StartApplication([&app] {
    tessik::CPluginDlg window(app);
    app.mainWindow = &window;
    window.show();
    QApplication::exec();
    app.mainWindow = nullptr;
  });
  return 0;
}
