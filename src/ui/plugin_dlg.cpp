#include "ui/plugin_dlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include "session/idle_prevention.h"
#include "session/query_opponent.h"
#include "session/report_output.h"
#include "session/settings.h"
#include "ui/about_dlg.h"
#include "ui/behaviour_dlg.h"
#include "ui/host_text.h"
#include "ui/output_options_dlg.h"
#include "ui/thread_message_pump.h"
#include "ui/window_icon.h"

namespace tessik {

namespace {

// Box texts break their lines with CR LF; the window shows plain line breaks.
QString BoxText(std::string_view text) {
  return TextOfBytes(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

CPluginDlg::CPluginDlg(CPluginApp& app)
    : app_(app), outputBox_(new QPlainTextEdit(this)), nameField_(new QLineEdit(this)) {
  setWindowTitle(TextOfBytes(kTitleNotConnected));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(TessikIcon());
  nameField_->setObjectName("nameField");
  outputBox_->setObjectName("outputBox");
  outputBox_->setReadOnly(true);
  outputBox_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  auto* query = new QPushButton(tr("OK"), this);
  query->setObjectName("queryButton");
  query->setDefault(true);
  connect(query, &QPushButton::clicked, this, &CPluginDlg::accept);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(nameField_, 4);
  nameRow->addWidget(query, 1);
  nameRow->addStretch(5);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(nameRow);
  layout->addWidget(outputBox_, 1);
  // The reports' rows pad a handle to 15 characters and a space, then a tab: one stop past the
  // widest 16 characters lines up the figures of every row, whatever the font.
  const QFontMetrics metrics(outputBox_->font());
  outputBox_->setTabStopDistance(metrics.horizontalAdvance(QString(16, QLatin1Char('W'))) +
                                 metrics.horizontalAdvance(QLatin1Char(' ')));
  BuildMenu();
  SizeOutputBox();
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed size: no resizing, no maximise

  idleTimer_.setInterval(kIdleTickMilliseconds);
  connect(&idleTimer_, &QTimer::timeout, this, [this] { app_.OnIdleTimer(); });
  trayIcon_.setIcon(TessikIcon());
  trayIcon_.setToolTip(
      PlainToolTip(TextOfBytes(app_.applicationName).left(63)));  // never half a letter
  connect(&trayIcon_, &QSystemTrayIcon::activated, this, &CPluginDlg::OnTrayActivated);
}

void CPluginDlg::SizeOutputBox() {
  // Wide enough for the reports' widest row (a 15-letter handle, four-digit counts) on one
  // line, and about twelve lines high.
  const QFontMetrics metrics(outputBox_->font());
  const QString widestRow = QString(15, QLatin1Char('W')) + " \t(99999)  +9999  =9999  -9999";
  int textWidth =
      metrics.size(Qt::TextExpandTabs, widestRow, static_cast<int>(outputBox_->tabStopDistance()))
          .width();
  int margins = 2 * (static_cast<int>(outputBox_->document()->documentMargin()) +
                     outputBox_->frameWidth() + 2);
  int scrollBar = outputBox_->verticalScrollBar()->sizeHint().width();
  outputBox_->setFixedSize(textWidth + margins + scrollBar, 12 * metrics.lineSpacing() + margins);
}

void CPluginDlg::BuildMenu() {
  auto* bar = new QMenuBar(this);
  QMenu* actions = bar->addMenu(QStringLiteral("&Actions"));
  actions->addAction(QStringLiteral("Most 10"), this, [this] { ShowMostGames(app_); });
  actions->addAction(QStringLiteral("Best"), this, [this] { ShowBest(app_); });
  actions->addAction(QStringLiteral("Worst"), this, [this] { ShowWorst(app_); });
  actions->addAction(QStringLiteral("Overall"), this, [this] { ShowOverall(app_); });
  actions->addSeparator();
  actions->addAction(QStringLiteral("Statistics\u2026"), this, &CPluginDlg::OpenStatistics);
  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  options->addAction(QStringLiteral("General"), this, &CPluginDlg::RunBehaviour);
  options->addAction(QStringLiteral("Stat Output"), this, &CPluginDlg::RunOutputOptions);
  bar->addAction(QStringLiteral("A&bout"), this, &CPluginDlg::RunAbout);
  layout()->setMenuBar(bar);
}

QAction* CPluginDlg::MenuAction(const QString& text) const {
  for (QAction* action : findChildren<QAction*>()) {
    if (action->text().remove('&') == text) return action;
  }
  return nullptr;
}

bool CPluginDlg::OutputBoxEmpty() const { return outputBox_->document()->isEmpty(); }

void CPluginDlg::AddOutputLine(std::string_view line) {
  outputBox_->appendPlainText(TextOfBytes(line));
  outputBox_->verticalScrollBar()->setValue(outputBox_->verticalScrollBar()->maximum());
}

void CPluginDlg::SetTitle(std::string_view title) { setWindowTitle(TextOfBytes(title)); }

void CPluginDlg::StartIdleTimer() { idleTimer_.start(); }

void CPluginDlg::StopIdleTimer() { idleTimer_.stop(); }

void CPluginDlg::Minimize() {
  if (settings.minimizeToSystray != 0 && QSystemTrayIcon::isSystemTrayAvailable()) {
    GoToTray();
  } else {
    showMinimized();
  }
}

void CPluginDlg::GoToTray() {
  trayIcon_.show();
  hide();
  settings.startMinimized = 1;
}

void CPluginDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  if (settings.minimizeToSystray == 0 || !QSystemTrayIcon::isSystemTrayAvailable()) return;
  // The minimise box: the window goes to the tray instead of the task bar.
  QTimer::singleShot(0, this, [this] {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    GoToTray();
  });
}

void CPluginDlg::OnTrayActivated(QSystemTrayIcon::ActivationReason) {
  // The icon's own widget is still handling this click: hiding the icon now would destroy it
  // under its feet. It goes once the click is over, unless the window is back in the tray.
  QTimer::singleShot(0, this, [this] {
    if (isVisible()) trayIcon_.hide();
  });
  ShowWindow();
  settings.startMinimized = 0;
}

void CPluginDlg::ShowWindow() {
  showNormal();
  raise();
  activateWindow();
}

void CPluginDlg::RemoveTrayIcon() { trayIcon_.hide(); }

void CPluginDlg::Close() {
  hide();
  QCoreApplication::quit();
}

bool CPluginDlg::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, TextOfBytes(caption), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  ThreadMessagePump::Hold hold;
  return box.exec() == QMessageBox::Yes;
}

bool CPluginDlg::AskRetryCancel(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Warning, TextOfBytes(caption), BoxText(text),
                  QMessageBox::Retry | QMessageBox::Cancel, this);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  ThreadMessagePump::Hold hold;
  return box.exec() == QMessageBox::Retry;
}

void CPluginDlg::accept() {
  QString typed = nameField_->text();
  if (typed.isEmpty()) return;
  QueryOpponent(app_, BytesOfText(typed));
  nameField_->clear();
}

void CPluginDlg::reject() { app_.ConfirmClose(); }

void CPluginDlg::RunOutputOptions() {
  COutputOptionsDlg dialog(this);
  dialog.LoadFrom(settings);
  ThreadMessagePump::Hold hold;
  if (dialog.exec() == QDialog::Accepted) dialog.StoreTo(settings);
}

void CPluginDlg::RunBehaviour() {
  bool wasOn = settings.preventIdleDisconnection == 1;
  {
    CBehaviourDlg dialog(this);
    dialog.LoadFrom(settings);
    ThreadMessagePump::Hold hold;
    if (dialog.exec() == QDialog::Accepted) dialog.StoreTo(settings);
  }
  ApplyIdlePreventionChange(app_, wasOn);
}

void CPluginDlg::OpenStatistics() {
  app_.RefreshGameLog();  // with the games another session of the user recorded
  std::string opponent;
  if (const QString typed = nameField_->text(); !typed.isEmpty() && app_.opponentTotals) {
    opponent = app_.opponentTotals->CompleteName(BytesOfText(typed));
  }
  // The view is a program of its own, beside this one, on the user's whole record.
  QStringList arguments{QStringLiteral("--dir"), app_.workingDirectory.empty()
                                                     ? QDir::currentPath()
                                                     : TextOfBytes(app_.workingDirectory)};
  if (!app_.userName.empty()) arguments << QStringLiteral("--user") << TextOfBytes(app_.userName);
  if (!opponent.empty()) arguments << QStringLiteral("--opponent") << TextOfBytes(opponent);
  const QString program = QCoreApplication::applicationDirPath() + "/tessik-statistics";
  if (!QProcess::startDetached(program, arguments)) {
    QMessageBox::warning(this, QStringLiteral("Statistics"),
                         tr("The statistics view could not be started: %1 is missing or cannot "
                            "be run.")
                             .arg(program));
  }
}

void CPluginDlg::RunAbout() {
  CAboutDlg about(this);
  ThreadMessagePump::Hold hold;
  about.exec();
}

}  // namespace tessik
