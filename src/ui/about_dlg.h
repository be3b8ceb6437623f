#pragma once

#include <QDialog>

namespace tessik {

// "About Tessik": the version and a credit line.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tessik
