// The "Options" dialog: what the score lines show and where they go.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <array>

#include "session/settings.h"

namespace tessik {

class COutputOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit COutputOptionsDlg(QWidget* parent = nullptr);

  // Copies the twelve settings into the check boxes, and back.
  void LoadFrom(const Settings& source);
  void StoreTo(Settings& target) const;

  static constexpr size_t kBoxCount = 12;

 private:
  std::array<QCheckBox*, kBoxCount> boxes_{};
};

}  // namespace tessik
