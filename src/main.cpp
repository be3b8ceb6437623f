// The plug-in process: started by the host, which then announces its pipes.
#include <unistd.h>
#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#include "platform/last_error.h"
#include "platform/thread_queue.h"
#include "session/plugin_app.h"
#include "ui/plugin_dlg.h"
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
  // A host starts the plug-in; a person who starts it from a terminal is told what it is.
  if (!HasDisplay()) {
    std::fprintf(stderr, "%s\nIt needs a display, and none is set (DISPLAY).\n", kWhatThisIs);
    return 1;
  }
  if (isatty(STDIN_FILENO) != 0) std::fprintf(stderr, "%s\n", kWhatThisIs);
  QApplication qtApplication(argc, argv);
  tessik::ThreadQueue queue;
  if (!queue.Bind()) {
    std::fprintf(stderr, "tessik: cannot open the message queue (error %lx)\n",
                 static_cast<unsigned long>(tessik::GetLastError()));
    return 1;
  }
  tessik::CPluginApp app;
  app.applicationName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName().toStdString();
  tessik::ThreadMessagePump pump(queue, app);
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
