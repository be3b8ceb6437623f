#include "ui/plugin_dlg.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/thread_message_pump.h"

namespace tessik {

namespace {

QString FromSingleByte(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Box texts break their lines with CR LF; the window shows plain line breaks.
QString BoxText(std::string_view text) {
  return FromSingleByte(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

CPluginDlg::CPluginDlg(CPluginApp& app)
    : app_(app), outputBox_(new QPlainTextEdit(this)), nameField_(new QLineEdit(this)) {
  setWindowTitle(FromSingleByte(kTitleNotConnected));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
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
  resize(480, 360);
  idleTimer_.setInterval(180000);
  connect(&idleTimer_, &QTimer::timeout, this, [this] { app_.OnIdleTimer(); });
}

bool CPluginDlg::OutputBoxEmpty() const { return outputBox_->document()->isEmpty(); }

void CPluginDlg::AddOutputLine(std::string_view line) {
  outputBox_->appendPlainText(FromSingleByte(line));
  outputBox_->verticalScrollBar()->setValue(outputBox_->verticalScrollBar()->maximum());
}

void CPluginDlg::SetTitle(std::string_view title) { setWindowTitle(FromSingleByte(title)); }

void CPluginDlg::StartIdleTimer() { idleTimer_.start(); }

void CPluginDlg::StopIdleTimer() { idleTimer_.stop(); }

void CPluginDlg::Minimize() { showMinimized(); }

// The window has no tray icon of its own yet, so there is none to remove.
void CPluginDlg::RemoveTrayIcon() {}

void CPluginDlg::Close() { done(QDialog::Rejected); }

bool CPluginDlg::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, FromSingleByte(caption), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::No);
  ThreadMessagePump::Hold hold;
  return box.exec() == QMessageBox::Yes;
}

bool CPluginDlg::AskRetryCancel(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Warning, FromSingleByte(caption), BoxText(text),
                  QMessageBox::Retry | QMessageBox::Cancel, this);
  box.setWindowModality(Qt::ApplicationModal);
  ThreadMessagePump::Hold hold;
  return box.exec() == QMessageBox::Retry;
}

void CPluginDlg::reject() { app_.ConfirmClose(); }

void CPluginDlg::accept() {
  // Completing the typed name and printing the score come with the opponent totals.
  nameField_->clear();
}

}  // namespace tessik
