#include "ui/behaviour_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace tessik {

CBehaviourDlg::CBehaviourDlg(QWidget* parent)
    : QDialog(parent),
      closeWithConnection_(new QCheckBox(QStringLiteral("Close with Connection"), this)),
      minimizeToSystray_(new QCheckBox(QStringLiteral("Minimize to Systray"), this)),
      preventIdle_(new QCheckBox(QStringLiteral("Avoid idle disconnection"), this)),
      method_(new QButtonGroup(this)),
      text_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Behaviour"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(closeWithConnection_);
  layout->addWidget(minimizeToSystray_);
  layout->addWidget(preventIdle_);
  layout->addWidget(new QLabel(QStringLiteral("command to use:"), this));
  const char* methods[] = {"date", "away message (enter text below)",
                           "other (enter command below)"};
  for (int index = 0; index < 3; ++index) {
    auto* radio = new QRadioButton(QString::fromLatin1(methods[index]), this);
    method_->addButton(radio, index);
    layout->addWidget(radio);
  }
  // The command is one line to the server: pasted line breaks become spaces (a trailing one
  // goes), so that it is never sent as two commands.
  connect(text_, &QLineEdit::textChanged, this, [this](const QString& text) {
    static const QRegularExpression kLineBreaks(QStringLiteral("[\r\n]+"));
    if (!text.contains(kLineBreaks)) return;
    QString oneLine = text;
    while (oneLine.endsWith('\n') || oneLine.endsWith('\r')) oneLine.chop(1);
    text_->setText(oneLine.replace(kLineBreaks, QStringLiteral(" ")));
  });
  layout->addWidget(text_);
  layout->addSpacing(8);
  AddOkCancel(this, layout);
  setFixedSize(sizeHint());
}

void CBehaviourDlg::LoadFrom(const Settings& source) {
  closeWithConnection_->setChecked(source.closeWithConnection != 0);
  minimizeToSystray_->setChecked(source.minimizeToSystray != 0);
  preventIdle_->setChecked(source.preventIdleDisconnection != 0);
  if (QAbstractButton* chosen = method_->button(source.preventIdleMethod)) chosen->setChecked(true);
  text_->setText(QString::fromLatin1(source.preventIdleText.c_str()));
}

void CBehaviourDlg::StoreTo(Settings& target) const {
  target.closeWithConnection = closeWithConnection_->isChecked() ? 1 : 0;
  target.minimizeToSystray = minimizeToSystray_->isChecked() ? 1 : 0;
  target.preventIdleDisconnection = preventIdle_->isChecked() ? 1 : 0;
  target.preventIdleMethod = method_->checkedId();  // -1 when none is chosen
  target.preventIdleText = text_->text().toLatin1().toStdString();
}

}  // namespace tessik
