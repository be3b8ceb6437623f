// The statistics view's rating history: the user's rating over time in one rating pool, or in
// several picked together, with the games against the opponent picked marked on the curves.
// Dragging a rectangle zooms in, a double click zooms back out; hovering a point tells its game.
#pragma once

#include <QListWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>
#include <utility>
#include <vector>

#include "stats/rating_history.h"
#include "view/stats_page.h"

namespace tessik {

class RatingHistoryTab : public StatsPage {
  Q_OBJECT

 public:
  explicit RatingHistoryTab(QWidget* parent = nullptr);
  std::any Figures(const StatsInput& input) const override;
  void Show(const StatsInput& input, std::any figures) override;

  // The pools with games of a known rating, each with its count; the selected ones are drawn.
  QListWidget* pools() const { return pools_; }
  QChartView* chartView() const { return view_; }
  QChart* chart() const { return view_->chart(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Draw();
  // The hover text of the drawn point nearest to where (the viewport's coordinates), if near.
  QString TipAt(QPoint where) const;

  QListWidget* pools_;
  QChartView* view_;
  std::vector<RatingSeries> history_;
  QString opponent_;
  // The series drawn, each with the points it was drawn from.
  std::vector<std::pair<QXYSeries*, std::vector<RatingPoint>>> drawn_;
};

}  // namespace tessik
