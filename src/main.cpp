// The plug-in process: started by the host, which then announces its pipes.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>

#include "platform/last_error.h"
#include "platform/thread_queue.h"
#include "session/plugin_app.h"
#include "ui/plugin_dlg.h"
#include "ui/thread_message_pump.h"

int main(int argc, char** argv) {
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
