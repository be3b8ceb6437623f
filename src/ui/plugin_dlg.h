// The plug-in's main window: a name field with its query button and the output box.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "session/main_window.h"
#include "session/plugin_app.h"

namespace tessik {

class CPluginDlg : public QDialog, public MainWindow {
  Q_OBJECT

 public:
  explicit CPluginDlg(CPluginApp& app);

  bool OutputBoxEmpty() const override;
  void AddOutputLine(std::string_view line) override;
  void SetTitle(std::string_view title) override;
  void StartIdleTimer() override;
  void StopIdleTimer() override;
  void Minimize() override;
  void RemoveTrayIcon() override;
  void Close() override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  bool AskRetryCancel(std::string_view text, std::string_view caption) override;

  // Enter and the query button look up a player; the window never closes through them.
  void accept() override;
  // Escape and the close box ask whether to close the plug-in.
  void reject() override;

  QPlainTextEdit* outputBox() const { return outputBox_; }
  QLineEdit* nameField() const { return nameField_; }
  const QTimer& idleTimer() const { return idleTimer_; }

 private:
  CPluginApp& app_;
  QPlainTextEdit* outputBox_;  // control 1001
  QLineEdit* nameField_;       // control 1000
  QTimer idleTimer_;           // timer 1
};

}  // namespace tessik
