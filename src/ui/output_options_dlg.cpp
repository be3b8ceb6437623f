#include "ui/output_options_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace tessik {

namespace {

struct Box {
  int id;
  const char* label;
  uint8_t Settings::*flag;
};

// In the order the dialog shows them: two groups of four, then two rows of two.
constexpr std::array<Box, COutputOptionsDlg::kBoxCount> kBoxes = {{
    {1043, "All Games", &Settings::fingerAssessDisplayAll},
    {1044, "All, sorted by color", &Settings::fingerAssessDisplayAllBw},
    {1045, "Rating types seperate", &Settings::fingerAssessDisplayRtypes},
    {1046, "Rating types + color", &Settings::fingerAssessDisplayRtypesBw},
    {1049, "all Games", &Settings::matchEtcDisplayAll},
    {1050, "all, sorted by color", &Settings::matchEtcDisplayAllBw},
    {1051, "this rating type", &Settings::matchEtcDisplayRtype},
    {1052, "rating type + color", &Settings::matchEtcDisplayRtypeBw},
    {1047, "Show Stats in Vexmoor", &Settings::showStatsInVexmoor},
    {1048, "Show Stats in Plugin", &Settings::showStatsInPlugin},
    {1026, "Be silent if no games found", &Settings::silentIfNoGames},
    {1053, "Show expected score", &Settings::showExpectedScore},
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
    boxes_[i]->setObjectName(QStringLiteral("check%1").arg(kBoxes[i].id));
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
