// The "Behaviour" dialog: closing, the tray and idle prevention.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "session/settings.h"

namespace tessik {

class CBehaviourDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CBehaviourDlg(QWidget* parent = nullptr);

  // Copies the five settings into the controls, and back; with no command chosen (a method
  // outside 0 to 2 in the file) the method becomes -1.
  void LoadFrom(const Settings& source);
  void StoreTo(Settings& target) const;

 private:
  QCheckBox* closeWithConnection_;
  QCheckBox* minimizeToSystray_;
  QCheckBox* preventIdle_;
  QButtonGroup* method_;
  QLineEdit* text_;
};

}  // namespace tessik
