#include "ui/output_options_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace tessik {

namespace {

struct Box {
  const char* label;
  uint8_t Settings::*flag;
};

// In the order the dialog shows them: two groups of four, then two rows of two.
constexpr std::array<Box, COutputOptionsDlg::kBoxCount> kBoxes = {{
    {"All Games", &Settings::fingerAssessDisplayAll},
    {"All, sorted by color", &Settings::fingerAssessDisplayAllBw},
    // "seperate": the dialog's own label, spelt as users have always seen it; keep it so.
    {"Rating types seperate", &Settings::fingerAssessDisplayRtypes},
    {"Rating types + color", &Settings::fingerAssessDisplayRtypesBw},
    {"all Games", &Settings::matchEtcDisplayAll},
    {"all, sorted by color", &Settings::matchEtcDisplayAllBw},
    {"this rating type", &Settings::matchEtcDisplayRtype},
    {"rating type + color", &Settings::matchEtcDisplayRtypeBw},
    {"Show Stats in Vexmoor", &Settings::showStatsInVexmoor},
    {"Show Stats in Plugin", &Settings::showStatsInPlugin},
    {"Be silent if no games found", &Settings::silentIfNoGames},
    {"Show expected score", &Settings::showExpectedScore},
}};

QGroupBox* Group(const char* title, QCheckBox* const* boxes) {
  auto* group = new QGroupBox(QString::fromLatin1(title));
  auto* column = new QVBoxLayout(group);
  for (int i = 0; i < 4; ++i) column->addWidget(boxes[i]);
  return group;
}

}  // namespace

COutputOptionsDlg::COutputOptionsDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Options"));
  for (size_t i = 0; i < kBoxes.size(); ++i) {
    boxes_[i] = new QCheckBox(QString::fromLatin1(kBoxes[i].label), this);
  }
  auto* groups = new QHBoxLayout;
  groups->addWidget(Group("finger and assess", &boxes_[0]));
  groups->addWidget(Group("match, game start and result", &boxes_[4]));
  auto* rows = new QGridLayout;
  for (int i = 0; i < 4; ++i) rows->addWidget(boxes_[8 + i], i / 2, i % 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(rows);
  AddOkCancel(this, layout);
  setFixedSize(sizeHint());
}

void COutputOptionsDlg::LoadFrom(const Settings& source) {
  for (size_t i = 0; i < kBoxes.size(); ++i) boxes_[i]->setChecked(source.*kBoxes[i].flag != 0);
}

void COutputOptionsDlg::StoreTo(Settings& target) const {
  for (size_t i = 0; i < kBoxes.size(); ++i) {
    target.*kBoxes[i].flag = boxes_[i]->isChecked() ? 1 : 0;
  }
}

}  // namespace tessik
