// The statistics view's rating history: the user's rating over time, one curve per rating type
// with games, the games against the opponent picked marked on it, over a range to choose.
#pragma once

#include <QComboBox>
#include <QtCharts/QChartView>
#include <optional>

#include "stats/rating_history.h"
#include "view/stats_page.h"

namespace tessik {

class RatingHistoryTab : public StatsPage {
  Q_OBJECT

 public:
  explicit RatingHistoryTab(QWidget* parent = nullptr);
  void Show(const StatsInput& input);

  QComboBox* range() const { return range_; }
  QChart* chart() const { return view_->chart(); }

 private:
  void Draw();

  QComboBox* range_;
  QChartView* view_;
  std::vector<RatingSeries> history_;
  RatingSeries marked_;  // the games against the opponent: their time and the user's rating
  QString opponent_;
};

}  // namespace tessik
