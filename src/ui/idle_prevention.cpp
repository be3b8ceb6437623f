#include "host/host_message.h"
#include "session/plugin_app.h"
#include "ui/settings.h"

namespace tessik {

void CPluginApp::OnIdleTimer() {
  idleMinutes += 3;
  if (idleMinutes <= 56) return;
  idleMinutes = 0;
  const std::string& text = settings.preventIdleText;
  if (settings.preventIdleMethod == 0 || text.empty()) {
    SendIPCText(g_outputPipe, kMsgServerCommand, "date\n");
  } else if (settings.preventIdleMethod == 1) {
    SendIPCText(g_outputPipe, kMsgServerCommand, "away " + text + "\n");
  } else if (settings.preventIdleMethod == 2) {
    SendIPCText(g_outputPipe, kMsgServerCommand, text + "\n");
  }
}

}  // namespace tessik
