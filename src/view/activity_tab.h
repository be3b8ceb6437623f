// The statistics view's activity: the games of each month as bars, the score made in them as a
// line.
#pragma once

#include <QtCharts/QChartView>

#include "view/stats_page.h"

namespace tessik {

class ActivityTab : public StatsPage {
  Q_OBJECT

 public:
  explicit ActivityTab(QWidget* parent = nullptr);
  std::any Figures(const StatsInput& input) const override;
  void Show(const StatsInput& input, std::any figures) override;

  QChart* chart() const { return view_->chart(); }

 private:
  QChartView* view_;
};

}  // namespace tessik
