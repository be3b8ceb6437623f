#include "view/rating_history_tab.h"

#include <QDateTime>
#include <QLabel>
#include <QVBoxLayout>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <climits>

#include "stats/game_filter.h"
#include "ui/host_text.h"

namespace tessik {

namespace {

constexpr int64_t kDay = 24 * 60 * 60;
// The ranges offered, and how far back each reaches from now (seconds; none for all).
const std::pair<const char*, std::optional<int64_t>> kRanges[] = {
    {"All", std::nullopt}, {"Last year", 365 * kDay}, {"Last 90 days", 90 * kDay}};

// A curve has no more points than the chart is wide in pixels (two for each pair of them: the
// lowest and the highest rating of each stretch).
size_t MostPoints(const QWidget* view) { return static_cast<size_t>(std::max(400, view->width())); }

template <class Series>
Series* SeriesOf(const std::vector<RatingPoint>& points, const QString& name) {
  auto* series = new Series;
  series->setName(name.toHtmlEscaped());  // the chart's legend shows a series' name as markup
  QList<QPointF> xy;
  xy.reserve(static_cast<qsizetype>(points.size()));
  for (const RatingPoint& p : points) {
    xy.append(QPointF(static_cast<double>(p.time) * 1000.0, p.rating));
  }
  series->replace(xy);
  return series;
}

}  // namespace

RatingHistoryTab::RatingHistoryTab(QWidget* parent)
    : StatsPage(new QWidget, parent), range_(new QComboBox), view_(new QChartView) {
  range_->setObjectName("range");
  for (const auto& [name, span] : kRanges) range_->addItem(tr(name));
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(640, 380);
  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(new QLabel(tr("Range:")));
  rangeRow->addWidget(range_);
  rangeRow->addStretch(1);
  auto* layout = new QVBoxLayout(widget(1));
  layout->addLayout(rangeRow);
  layout->addWidget(view_, 1);
  connect(range_, &QComboBox::currentIndexChanged, this, [this] { Draw(); });
}

void RatingHistoryTab::Show(const StatsInput& input) {
  history_ = RatingHistory(input.games);
  marked_ = {};
  opponent_ = TextOfBytes(input.record.opponent);
  for (const PlayedGame& game : input.record.games) {
    if (game.startTime != kUnknownStartTime && game.userRating > 0) {
      marked_.points.push_back({game.startTime, game.userRating});
    }
  }
  std::stable_sort(marked_.points.begin(), marked_.points.end(),
                   [](const RatingPoint& a, const RatingPoint& b) { return a.time < b.time; });
  Draw();
}

void RatingHistoryTab::Draw() {
  const auto& [rangeName, span] = kRanges[std::max(0, range_->currentIndex())];
  const int64_t first = span ? QDateTime::currentSecsSinceEpoch() - *span : INT64_MIN;
  auto* chart = new QChart;
  auto* time = new QDateTimeAxis;
  auto* rating = new QValueAxis;
  chart->addAxis(time, Qt::AlignBottom);
  chart->addAxis(rating, Qt::AlignLeft);
  int64_t earliest = INT64_MAX, latest = INT64_MIN;
  int lowest = INT_MAX, highest = INT_MIN;
  const auto add = [&](QXYSeries* series, const std::vector<RatingPoint>& points) {
    chart->addSeries(series);
    series->attachAxis(time);
    series->attachAxis(rating);
    earliest = std::min(earliest, points.front().time);
    latest = std::max(latest, points.back().time);
    for (const RatingPoint& p : points) {
      lowest = std::min(lowest, p.rating);
      highest = std::max(highest, p.rating);
    }
  };
  for (const RatingSeries& s : history_) {
    const std::vector<RatingPoint> points =
        Thinned(Between(s.points, first, INT64_MAX), MostPoints(view_));
    if (points.empty()) continue;
    const std::string_view name = RatingTypeName(s.type);
    add(SeriesOf<QLineSeries>(points, TextOfBytes(name)), points);
  }
  if (chart->series().isEmpty()) {
    delete chart;
    ShowMessage(span
                    ? tr("No games with your rating stored in the range \"%1\".").arg(tr(rangeName))
                    : tr("No games with your rating stored yet."));
    return;
  }
  const std::vector<RatingPoint> marks =
      Thinned(Between(marked_.points, first, INT64_MAX), MostPoints(view_));
  if (!marks.empty()) {
    auto* series = SeriesOf<QScatterSeries>(marks, tr("Games against %1").arg(opponent_));
    series->setMarkerSize(8);
    add(series, marks);
  }
  // A single game still gets a span of time and ratings to be drawn in.
  time->setRange(QDateTime::fromSecsSinceEpoch(earliest - kDay),
                 QDateTime::fromSecsSinceEpoch(latest + kDay));
  time->setFormat(latest - earliest > 2 * 365 * kDay ? "yyyy" : "yyyy-MM-dd");
  rating->setRange(lowest - 25, highest + 25);
  rating->applyNiceNumbers();
  rating->setLabelFormat("%d");
  rating->setTitleText(tr("Rating"));
  ShowChart(view_, chart);
}

}  // namespace tessik
