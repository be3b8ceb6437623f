#include "view/activity_tab.h"

#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "stats/history.h"

namespace tessik {

ActivityTab::ActivityTab(QWidget* parent) : StatsPage(new QWidget, parent), view_(new QChartView) {
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(640, 380);
  view_->setAccessibleName(tr("Games and score per month"));
  auto* layout = new QVBoxLayout(widget(1));
  layout->addWidget(view_, 1);
}

void ActivityTab::Show(const StatsInput& input) {
  const std::vector<HistoryRow> months = MonthlyActivity(input.games);
  if (months.empty()) {
    ShowMessage(tr("No games of known date yet."));
    return;
  }
  auto* games = new QBarSet(tr("Games"));
  auto* score = new QLineSeries;
  score->setName(tr("Score %"));
  score->setPointsVisible(true);  // a month alone between months without games is a point
  QStringList labels;
  int most = 0;
  for (size_t i = 0; i < months.size(); ++i) {
    const ScoreCounts& c = months[i].counts;
    labels << QString::fromStdString(months[i].period);
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
  auto* month = new QBarCategoryAxis;
  month->append(labels);
  month->setLabelsAngle(-90);
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
  ShowChart(view_, chart);
}

}  // namespace tessik
