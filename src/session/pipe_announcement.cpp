#include <cstdio>

#include "host/greeting.h"
#include "platform/last_error.h"
#include "session/dispatcher.h"
#include "session/plugin_app.h"

namespace tessik {

void CPluginApp::OnThreadMessage(const ThreadMessage& message) {
  if (message.message == g_ipcNewPipeMessage) {
    OnIPCNewPipe(static_cast<int32_t>(message.wParam), static_cast<int32_t>(message.lParam));
  } else if (message.message == g_ipcDataReadyMessage) {
    OnIPCDataReady(static_cast<int32_t>(message.wParam), static_cast<int32_t>(message.lParam));
  }
}

void CPluginApp::OnIPCNewPipe(int32_t pipeId, int32_t size) {
  if (pipeId % 2 == 1) {
    if (!g_inputPipe.OpenIPC(pipeId, size)) {
      char line[64];
      std::snprintf(line, sizeof line, "OpenIPC failed.  GetLastError = %lx",
                    static_cast<unsigned long>(GetLastError()));
      AppendOutputLine(*this, line);
    }
  } else {
    g_outputPipe.OpenIPC(pipeId, size);  // a failure here is not reported
    SendGreeting(g_outputPipe);
  }
}

void CPluginApp::OnIPCDataReady(int32_t, int32_t) { DrainInputPipe(*this); }

}  // namespace tessik
