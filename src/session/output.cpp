#include "session/plugin_app.h"

namespace tessik {

void AppendOutputLine(CPluginApp& app, std::string_view line) {
  if (app.mainWindow == nullptr) return;
  if (line.empty() && app.mainWindow->OutputBoxEmpty()) return;
  app.mainWindow->AddOutputLine(line);
}

}  // namespace tessik
