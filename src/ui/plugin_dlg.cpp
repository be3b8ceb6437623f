#include "ui/plugin_dlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tessik {

namespace {

QString FromSingleByte(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
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
}

bool CPluginDlg::OutputBoxEmpty() const { return outputBox_->document()->isEmpty(); }

void CPluginDlg::AddOutputLine(std::string_view line) {
  outputBox_->appendPlainText(FromSingleByte(line));
  outputBox_->verticalScrollBar()->setValue(outputBox_->verticalScrollBar()->maximum());
}

void CPluginDlg::SetTitle(std::string_view title) { setWindowTitle(FromSingleByte(title)); }

void CPluginDlg::Close() { done(QDialog::Rejected); }

void CPluginDlg::accept() {
  // Completing the typed name and printing the score come with the opponent totals.
  nameField_->clear();
}

}  // namespace tessik
