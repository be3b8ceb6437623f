#include "session/idle_prevention.h"

#include "host/host_message.h"
#include "session/plugin_app.h"
#include "session/settings.h"

namespace tessik {

void CPluginApp::OnIdleTimer() {
  idleMinutes += kIdleTickMinutes;
  if (idleMinutes < kIdleLimitMinutes) return;
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

void ApplyIdlePreventionChange(CPluginApp& app, bool wasOn) {
  bool isOn = settings.preventIdleDisconnection == 1;
  if (!wasOn && isOn) {
    SendIPCText(g_outputPipe, kMsgServerCommand, "date\n");
    if (app.mainWindow != nullptr) app.mainWindow->StartIdleTimer();
  } else if (wasOn && !isOn && app.mainWindow != nullptr) {
    app.mainWindow->StopIdleTimer();
  }
}

}  // namespace tessik
