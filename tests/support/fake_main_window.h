// A main window that records what the session asks of it and answers boxes as told.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "session/main_window.h"

namespace tessik {

class FakeMainWindow : public MainWindow {
 public:
  bool OutputBoxEmpty() const override { return text.empty(); }
  // Keeps the box's text as the desktop edit box holds it: lines joined by CR LF.
  void AddOutputLine(std::string_view line) override;
  void SetTitle(std::string_view newTitle) override { title = newTitle; }
  void StartIdleTimer() override { timerRunning = true; }
  void StopIdleTimer() override { timerRunning = false; }
  void Minimize() override { ++minimizeCount; }
  void RemoveTrayIcon() override {}
  void ShowWindow() override {}
  void Close() override { ++closeCount; }
  // Each box takes the next answer; a box with no answer left is answered No or Cancel.
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  bool AskRetryCancel(std::string_view text, std::string_view caption) override;

  struct Box {
    std::string text;
    std::string caption;
  };

  std::string text;
  std::string title = std::string(kTitleNotConnected);
  bool timerRunning = false;
  int minimizeCount = 0;
  int closeCount = 0;
  std::deque<bool> answers;
  std::function<void()> beforeAnswer;  // what the user does while a box is open
  std::vector<Box> boxes;
};

}  // namespace tessik
