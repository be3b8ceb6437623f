// A main window that records what the session asks of it.
#pragma once

#include <string>

#include "session/main_window.h"

namespace tessik {

class FakeMainWindow : public MainWindow {
 public:
  bool OutputBoxEmpty() const override { return text.empty(); }
  // Keeps the box's text as the desktop edit box holds it: lines joined by CR LF.
  void AddOutputLine(std::string_view line) override;
  void SetTitle(std::string_view newTitle) override { title = newTitle; }
  void Close() override { ++closeCount; }

  std::string text;
  std::string title = std::string(kTitleNotConnected);
  int closeCount = 0;
};

}  // namespace tessik
