#include <cstdio>

#include "session/plugin_app.h"

namespace tessik {

bool CPluginApp::ShowWriteError(FileCause cause, std::string_view fileLabel) {
  char text[512];
  // "occured": the box's own text, spelt as users have always seen it; keep it so.
  std::snprintf(text, sizeof text,
                "A write error occured with the %.*s-file.\r\nReason: %s  (Errorcode %u) \r\n"
                "If you can fix the problem, do so, then press retry.\r\n"
                "Else press cancel, all new data will be lost.",
                static_cast<int>(fileLabel.size()), fileLabel.data(), FileCauseReason(cause),
                static_cast<unsigned>(cause));
  return mainWindow != nullptr && mainWindow->AskRetryCancel(text, applicationName);
}

void CPluginApp::SaveWithRetry(const std::function<std::error_code()>& save,
                               std::string_view fileLabel) {
  for (std::error_code error = save(); error; error = save()) {
    if (!ShowWriteError(FileCauseOf(error), fileLabel)) return;
  }
}

std::string WriteErrorText(std::error_code error) { return DescribeFileCause(FileCauseOf(error)); }

}  // namespace tessik
