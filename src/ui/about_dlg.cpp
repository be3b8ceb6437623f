#include "ui/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/window_icon.h"
#include "version.h"

namespace tessik {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Tessik"));
  auto* icon = new QLabel(this);
  icon->setPixmap(TessikIcon().pixmap(32, 32));
  auto* texts = new QVBoxLayout;
  texts->addWidget(new QLabel(QStringLiteral("Version ") + QLatin1String(kVersion), this));
  texts->addWidget(new QLabel(QStringLiteral("Author:"), this));
  texts->addWidget(new QLabel(QStringLiteral("the Tessik developers"), this));
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint());
}

}  // namespace tessik
