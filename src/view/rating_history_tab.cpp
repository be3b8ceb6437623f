#include "view/rating_history_tab.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

#include "base/text.h"
#include "stats/summary_text.h"
#include "stats/utc_time.h"
#include "store/handle.h"
#include "ui/host_text.h"

namespace tessik {

namespace {

constexpr int64_t kDay = 24 * 60 * 60;
// How near a point the pointer must be for the point to tell its game, in pixels.
constexpr double kHoverReach = 10;

// A curve has no more points than the chart is wide in pixels (two for each pair of them: the
// lowest and the highest rating of each stretch).
size_t MostPoints(const QWidget* view) { return static_cast<size_t>(std::max(400, view->width())); }

double Luminance(const QColor& colour) {
  const auto linear = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

// The colour of the index-th curve: hues a golden angle apart, so that no two curves are alike
// however many are drawn, every other one lighter, so that two near hues differ in lightness
// too. Their luminance (0.17 or 0.27) reads on the light chart's white as on the dark chart's
// near black (a contrast near 3:1 or more on both). The marks take the colour of the chart's
// labels, far darker or lighter than any curve.
QColor CurveColour(size_t index) {
  const double hue = std::fmod(0.58 + 0.6180339887 * static_cast<double>(index), 1.0);
  const double luminance = index % 2 == 0 ? 0.17 : 0.27;
  double dark = 0, light = 1;
  for (int step = 0; step < 16; ++step) {
    const double lightness = (dark + light) / 2;
    (Luminance(QColor::fromHslF(hue, 0.8, lightness)) < luminance ? dark : light) = lightness;
  }
  return QColor::fromHslF(hue, 0.8, dark);
}

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
    : StatsPage(new QWidget, parent), pools_(new QListWidget), view_(new QChartView) {
  pools_->setObjectName("pools");
  pools_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  pools_->setAccessibleName(tr("Rating pools"));
  pools_->setAccessibleDescription(
      tr("The pools whose ratings the chart draws: one, or several picked with Ctrl or Shift"));
  pools_->setMaximumWidth(260);
  auto* label = new QLabel(tr("&Pools (Ctrl+click for several):"));
  label->setBuddy(pools_);
  label->setWordWrap(true);
  view_->setAccessibleName(tr("Rating history chart"));
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(640, 380);
  view_->setRubberBand(QChartView::RectangleRubberBand);
  view_->viewport()->installEventFilter(this);
  auto* side = new QVBoxLayout;
  side->addWidget(label);
  side->addWidget(pools_, 1);
  auto* layout = new QHBoxLayout(widget(1));
  layout->addLayout(side);
  layout->addWidget(view_, 1);
  connect(pools_, &QListWidget::itemSelectionChanged, this, [this] {
    // A chart of no curve says nothing: the pool last moved to stays drawn.
    if (pools_->selectedItems().isEmpty() && pools_->currentItem()) {
      pools_->currentItem()->setSelected(true);
      return;  // selecting it comes back here
    }
    Draw();
  });
}

std::any RatingHistoryTab::Figures(const StatsInput& input) const {
  return RatingHistory(input.games, input.record);
}

void RatingHistoryTab::Show(const StatsInput& input, std::any figures) {
  std::set<QString> picked;  // kept across a new read of the record
  for (const QListWidgetItem* item : pools_->selectedItems()) {
    picked.insert(item->data(Qt::UserRole).toString());
  }
  history_ = std::any_cast<std::vector<RatingSeries>>(std::move(figures));
  opponent_ = TextOfBytes(PrintableName(input.record.opponent));
  drawn_.clear();
  const QSignalBlocker blocker(pools_);
  pools_->clear();
  if (history_.empty()) {
    ShowMessage(tr("No games with your rating stored yet."));
    return;
  }
  size_t largest = 0;
  for (size_t i = 0; i < history_.size(); ++i) {
    const RatingSeries& s = history_[i];
    const QString pool = TextOfBytes(PrintableName(s.pool));
    auto* item = new QListWidgetItem(
        pool + " (" + QString::fromStdString(GamesText(static_cast<long long>(s.points.size()))) +
            ")",
        pools_);
    item->setData(Qt::UserRole, pool);
    item->setSelected(picked.contains(pool));
    if (s.points.size() > history_[largest].points.size()) largest = i;
  }
  if (pools_->selectedItems().isEmpty()) pools_->item(static_cast<int>(largest))->setSelected(true);
  pools_->setCurrentItem(pools_->selectedItems().front(), QItemSelectionModel::NoUpdate);
  Draw();
}

void RatingHistoryTab::Draw() {
  QChart* chart = NewChart();
  auto* time = new QDateTimeAxis;
  auto* rating = new QValueAxis;
  chart->addAxis(time, Qt::AlignBottom);
  chart->addAxis(rating, Qt::AlignLeft);
  int64_t earliest = INT64_MAX, latest = INT64_MIN;
  int lowest = INT_MAX, highest = INT_MIN;
  drawn_.clear();
  const auto add = [&](QXYSeries* series, std::vector<RatingPoint> points, const QColor& colour) {
    chart->addSeries(series);
    series->attachAxis(time);
    series->attachAxis(rating);
    series->setColor(colour);
    earliest = std::min(earliest, points.front().time);
    latest = std::max(latest, points.back().time);
    for (const RatingPoint& p : points) {
      lowest = std::min(lowest, p.rating);
      highest = std::max(highest, p.rating);
    }
    drawn_.emplace_back(series, std::move(points));
  };
  std::vector<RatingPoint> marks;
  for (int row = 0; row < pools_->count(); ++row) {
    if (!pools_->item(row)->isSelected()) continue;
    const RatingSeries& s = history_[static_cast<size_t>(row)];
    std::vector<RatingPoint> points = Thinned(s.points, MostPoints(view_));
    auto* series = SeriesOf<QLineSeries>(points, pools_->item(row)->data(Qt::UserRole).toString());
    // A game of its own is a point: a curve with room between its games shows each.
    series->setPointsVisible(points.size() * 8 < static_cast<size_t>(view_->width()));
    add(series, std::move(points), CurveColour(drawn_.size()));
    std::copy_if(s.points.begin(), s.points.end(), std::back_inserter(marks),
                 [](const RatingPoint& p) { return p.marked; });
  }
  if (!marks.empty()) {
    std::stable_sort(marks.begin(), marks.end(),
                     [](const RatingPoint& a, const RatingPoint& b) { return a.time < b.time; });
    marks = Thinned(marks, MostPoints(view_));
    auto* series = SeriesOf<QScatterSeries>(marks, tr("Games against %1").arg(opponent_));
    series->setMarkerSize(9);
    add(series, std::move(marks), rating->labelsColor());
    series->setBorderColor(series->color());
  }
  // Beside the chart, a legend of many series names each whole.
  chart->legend()->setAlignment(drawn_.size() > 3 ? Qt::AlignRight : Qt::AlignTop);
  // A single game still gets a span of time and ratings to be drawn in.
  time->setRange(QDateTime::fromSecsSinceEpoch(earliest - kDay),
                 QDateTime::fromSecsSinceEpoch(latest + kDay));
  // The ticks fall anywhere in a month: over years a tick named by its year alone would repeat.
  time->setFormat(latest - earliest > 2 * 365 * kDay ? "yyyy-MM" : "yyyy-MM-dd");
  rating->setRange(lowest - 25, highest + 25);
  rating->applyNiceNumbers();
  rating->setLabelFormat("%d");
  rating->setTitleText(tr("Rating"));
  ShowChart(view_, chart);
}

QString RatingHistoryTab::TipAt(QPoint where) const {
  QChart* chart = view_->chart();
  const QPointF at = chart->mapFromScene(view_->mapToScene(where));
  if (!chart->plotArea().contains(at)) return {};
  const RatingPoint* nearest = nullptr;
  double reach = kHoverReach * kHoverReach;
  for (const auto& [series, points] : drawn_) {
    for (const RatingPoint& p : points) {
      const QPointF d =
          chart->mapToPosition(QPointF(static_cast<double>(p.time) * 1000.0, p.rating), series) -
          at;
      if (QPointF::dotProduct(d, d) <= reach) {
        reach = QPointF::dotProduct(d, d);
        nearest = &p;
      }
    }
  }
  if (nearest == nullptr) return {};
  return tr("%1 against %2: %3\nrating %4")
      .arg(QString::fromStdString(DateText(nearest->time)),
           TextOfBytes(PrintableName(nearest->opponent)),
           QString::fromLatin1(ResultWord(nearest->result)))
      .arg(nearest->rating);
}

bool RatingHistoryTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_->viewport() && currentIndex() == 1) {
    if (event->type() == QEvent::MouseMove) {
      // The chart's own tooltip, which the view shows as the pointer rests.
      const QString tip = TipAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      view_->chart()->setToolTip(tip.isEmpty() ? tip : PlainToolTip(tip));
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      view_->chart()->zoomReset();
      return true;
    }
  }
  return StatsPage::eventFilter(watched, event);
}

}  // namespace tessik
