// The statistics view's record against the opponent picked: the plug-in's score lines, the
// summary tessik-stats prints, and the last twenty results as coloured marks.
#pragma once

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "view/stats_page.h"

namespace tessik {

class HeadToHeadTab : public StatsPage {
  Q_OBJECT

 public:
  static constexpr int kMarks = 20;

  explicit HeadToHeadTab(QWidget* parent = nullptr);
  void Show(const StatsInput& input);

 private:
  QLabel* lines_;
  QFormLayout* summary_;
  QHBoxLayout* strip_;
};

}  // namespace tessik
