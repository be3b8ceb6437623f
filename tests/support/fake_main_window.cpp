#include "support/fake_main_window.h"

namespace tessik {

void FakeMainWindow::AddOutputLine(std::string_view line) {
  if (!text.empty()) text += "\r\n";
  text += line;
}

}  // namespace tessik
