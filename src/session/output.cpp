#include "host/host_message.h"
#include "session/plugin_app.h"
#include "session/settings.h"

namespace tessik {

void AppendOutputLine(CPluginApp& app, std::string_view line) {
  if (app.mainWindow == nullptr) return;
  if (line.empty() && app.mainWindow->OutputBoxEmpty()) return;
  app.mainWindow->AddOutputLine(line);
}

void OutputStatLine(CPluginApp& app, std::string_view line) {
  if (settings.showStatsInPlugin != 0) AppendOutputLine(app, line);
  if (settings.showStatsInVexmoor != 0) {
    SendIPCText(g_outputPipe, kMsgConsoleLine, std::string(line) + "\n");
  }
}

}  // namespace tessik
