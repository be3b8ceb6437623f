// What the session asks of the main window. The window layer implements it; tests use a fake.
#pragma once

#include <string_view>

namespace tessik {

inline constexpr std::string_view kTitleNotConnected = "Tessik Plugin - not connected to Vexmoor";
inline constexpr std::string_view kTitleSessionPrefix = "Personal Statistic for ";
inline constexpr std::string_view kTitleSessionEnded = "Plugin not connected";

class MainWindow {
 public:
  virtual ~MainWindow() = default;

  virtual bool OutputBoxEmpty() const = 0;
  // Adds a line below what the output box holds (as its first line when it is empty) and
  // scrolls to it.
  virtual void AddOutputLine(std::string_view line) = 0;
  virtual void SetTitle(std::string_view title) = 0;
  // Timer 1: the idle tick (kIdleTickMilliseconds). Starting it again restarts it.
  virtual void StartIdleTimer() = 0;
  virtual void StopIdleTimer() = 0;
  // The system's minimise command.
  virtual void Minimize() = 0;
  virtual void RemoveTrayIcon() = 0;
  // Shows the window again (from the tray, or minimised), active and on top.
  virtual void ShowWindow() = 0;
  // Ends the window's modal run, and with it the program.
  virtual void Close() = 0;
  // Modal boxes: Yes/No with No as default and no icon; Retry/Cancel with a warning icon.
  // True for Yes and Retry.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
  virtual bool AskRetryCancel(std::string_view text, std::string_view caption) = 0;
};

}  // namespace tessik
