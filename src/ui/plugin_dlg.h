// The plug-in's main window: a name field with its query button, the output box, the menu,
// and the tray icon it hides in.
#pragma once

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>
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
  // To the tray while "minimize to systray" is on and the desktop has a tray; otherwise an
  // ordinary minimise.
  void Minimize() override;
  void RemoveTrayIcon() override;
  void ShowWindow() override;
  // Ends the window's run: the program's event loop.
  void Close() override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  bool AskRetryCancel(std::string_view text, std::string_view caption) override;

  // Enter and the query button look up a player; the window never closes through them.
  void accept() override;
  // Escape and the close box ask whether to close the plug-in.
  void reject() override;

  // A click on the tray icon (any button): the window comes back.
  void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);

  QPlainTextEdit* outputBox() const { return outputBox_; }
  QLineEdit* nameField() const { return nameField_; }
  const QTimer& idleTimer() const { return idleTimer_; }
  const QSystemTrayIcon& trayIcon() const { return trayIcon_; }
  // The menu entry with this text ("Most 10", "General", "About", ...).
  QAction* MenuAction(const QString& text) const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void BuildMenu();
  void SizeOutputBox();
  void GoToTray();
  void RunOutputOptions();
  void RunBehaviour();
  void RunAbout();
  // Starts the statistics view for the player the name field names (completed as a look-up
  // completes it), or without a name for the user's own history.
  void OpenStatistics();

  CPluginApp& app_;
  QPlainTextEdit* outputBox_;  // control 1001
  QLineEdit* nameField_;       // control 1000
  QTimer idleTimer_;           // timer 1
  QSystemTrayIcon trayIcon_;
};

}  // namespace tessik
