#include "view/activity_tab.h"

#include <QVBoxLayout>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "base/text.h"
#include "stats/history.h"
#include "ui/host_text.h"

namespace tessik {

namespace {

// Months named on the axis one by one up to this many; beyond, only each year's first.
constexpr size_t kMonthsNamed = 24;

// The axis of months: each bar i stands at i. A long span names its years, where its
// months would be too narrow to read; a month's bar then says which it is when pointed at.
QCategoryAxis* MonthAxis(const std::vector<HistoryRow>& months) {
  auto* axis = new QCategoryAxis;
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setRange(-0.5, static_cast<double>(months.size()) - 0.5);
  const bool byYear = months.size() > kMonthsNamed;
  for (size_t i = 0; i < months.size(); ++i) {
    const QString month = QString::fromStdString(months[i].period);  // "2025-03"
    if (!byYear) {
      axis->append(month, static_cast<double>(i));
    } else if (i == 0 || month.endsWith("-01")) {
      axis->append(month.left(4), static_cast<double>(i));
    }
  }
  return axis;
}

}  // namespace

ActivityTab::ActivityTab(QWidget* parent) : StatsPage(new QWidget, parent), view_(new QChartView) {
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(640, 380);
  view_->setAccessibleName(tr("Games and score per month"));
  auto* layout = new QVBoxLayout(widget(1));
  layout->addWidget(view_, 1);
}

std::any ActivityTab::Figures(const StatsInput& input) const {
  return MonthlyActivity(input.games);
}

void ActivityTab::Show(const StatsInput&, std::any figures) {
  const auto months = std::any_cast<std::vector<HistoryRow>>(std::move(figures));
  if (months.empty()) {
    ShowMessage(tr("No games of known date yet."));
    return;
  }
  auto* games = new QBarSet(tr("Games"));
  auto* score = new QLineSeries;
  score->setName(tr("Score %"));
  score->setPointsVisible(true);  // a month alone between months without games is a point
  int most = 0;
  for (size_t i = 0; i < months.size(); ++i) {
    const ScoreCounts& c = months[i].counts;
    *games << c.Games();
    most = std::max(most, c.Games());
    if (c.Games() > 0)
      score->append(static_cast<double>(i), ScorePercentage(c.won, c.drawn, c.lost));
  }
  auto* bars = new QBarSeries;
  bars->append(games);
  QChart* chart = NewChart();
  chart->addSeries(bars);
  chart->addSeries(score);
  QCategoryAxis* month = MonthAxis(months);
  auto* count = new QValueAxis;
  count->setRange(0, most);
  count->applyNiceNumbers();
  count->setLabelFormat("%d");
  count->setTitleText(tr("Games"));
  auto* percent = new QValueAxis;
  percent->setRange(0, 100);
  percent->setLabelFormat("%d%%");
  percent->setTitleText(tr("Score"));
  chart->addAxis(month, Qt::AlignBottom);
  chart->addAxis(count, Qt::AlignLeft);
  chart->addAxis(percent, Qt::AlignRight);
  bars->attachAxis(month);
  bars->attachAxis(count);
  score->attachAxis(month);
  score->attachAxis(percent);
  connect(bars, &QBarSeries::hovered, view_, [this, months](bool on, int i) {
    if (!on || i < 0 || static_cast<size_t>(i) >= months.size()) {
      view_->setToolTip({});
      return;
    }
    const ScoreCounts& c = months[static_cast<size_t>(i)].counts;
    QString tip =
        QString::fromStdString(months[static_cast<size_t>(i)].period + ": " + GamesText(c.Games()));
    if (c.Games() > 0) tip += QStringLiteral(", %1%").arg(ScorePercentage(c.won, c.drawn, c.lost));
    view_->setToolTip(PlainToolTip(tip));
  });
  ShowChart(view_, chart);
}

}  // namespace tessik
