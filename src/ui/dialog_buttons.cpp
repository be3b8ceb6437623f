#include "ui/dialog_buttons.h"

#include <QPushButton>

namespace tessik {

void AddOkCancel(QDialog* dialog, QBoxLayout* layout) {
  auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  layout->addLayout(buttons);
}

}  // namespace tessik
