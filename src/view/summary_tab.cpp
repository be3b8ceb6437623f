#include "view/summary_tab.h"

#include <QDesktopServices>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "base/text.h"
#include "stats/game_kind.h"
#include "stats/summary_text.h"
#include "stats/time_of_day.h"
#include "stats/utc_time.h"
#include "store/handle.h"
#include "ui/host_text.h"
#include "view/table_cells.h"

namespace tessik {

namespace {

// Text from the record, on one line and never markup.
QString RecordText(std::string_view bytes) { return TextOfBytes(PrintableName(bytes)); }

QString DateOf(int64_t start) { return QString::fromStdString(DateText(start)); }

// A row of results under name, its key (an hour, a day) in the name cell.
QList<QStandardItem*> ResultRow(const QString& name, const QVariant& key, const ScoreCounts& c) {
  auto* first = Cell(name);
  first->setData(key, Qt::UserRole);
  return {first,
          NumberCell(c.Games()),
          NumberCell(c.won),
          NumberCell(c.drawn),
          NumberCell(c.lost),
          PercentCell(static_cast<int>(ScorePercentage(c.won, c.drawn, c.lost)))};
}

QStringList ResultHeaders(const QString& name) {
  return {name,
          QObject::tr("Games"),
          QObject::tr("Won"),
          QObject::tr("Drawn"),
          QObject::tr("Lost"),
          QObject::tr("Score")};
}

// The game's link when it is a web address, which is all a link of the record may open.
QString WebLink(const std::string& link) {
  const QUrl url(TextOfBytes(link), QUrl::StrictMode);
  const bool web =
      url.isValid() && (url.scheme() == "https" || url.scheme() == "http") && !url.host().isEmpty();
  return web ? url.toString() : QString();
}

void AddNotable(QStandardItemModel* model, const QString& kind,
                const std::vector<NotableGame>& games) {
  for (const NotableGame& game : games) {
    const QString link = WebLink(game.link);
    auto* linkCell = Cell(link);
    linkCell->setData(link, Qt::UserRole);
    if (!link.isEmpty()) linkCell->setToolTip(PlainToolTip(QObject::tr("Open in the browser")));
    model->appendRow({Cell(kind), NumberCell(game.opponentRating), Cell(DateOf(game.start)),
                      Cell(RecordText(game.opponent)), linkCell});
  }
}

// A table that shows every row of model whole, without a scroll bar of its own (the tab
// scrolls).
QTableView* Table(QStandardItemModel* model, const QString& name) {
  auto* table = new QTableView;
  SetUpTable(table, model, name);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  // The rows change with the pool: the columns widen to the new ones (a header sized to its
  // contents does not look again at rows that replace others), and a table's size hint stops at
  // a few rows, so its height is set to them all.
  const auto fit = [table] {
    table->resizeColumnsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->model()->rowCount(); ++row) height += table->rowHeight(row);
    table->setFixedHeight(height);
  };
  QObject::connect(model, &QAbstractItemModel::rowsInserted, table, fit);
  QObject::connect(model, &QAbstractItemModel::rowsRemoved, table, fit);
  return table;
}

QGroupBox* Group(const QString& title, QWidget* content) {
  auto* group = new QGroupBox(title);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(content);
  return group;
}

}  // namespace

SummaryTab::SummaryTab(QWidget* parent)
    : StatsPage(new QScrollArea, parent),
      pools_(new QComboBox),
      notable_(new QStandardItemModel(this)),
      months_(new QStandardItemModel(this)),
      endings_(new QStandardItemModel(this)),
      hours_(new QStandardItemModel(this)),
      weekdays_(new QStandardItemModel(this)) {
  pools_->setAccessibleName(tr("Rating pool"));
  auto* picker = new QHBoxLayout;
  auto* caption = new QLabel(tr("Rating &pool:"));
  caption->setBuddy(pools_);
  picker->addWidget(caption);
  picker->addWidget(pools_);
  picker->addStretch(1);

  auto* figures = new QWidget;
  auto* form = new QFormLayout(figures);
  const std::pair<const char*, QString> kFigures[] = {{"games", tr("Games:")},
                                                      {"score", tr("Score:")},
                                                      {"peak", tr("Peak rating:")},
                                                      {"lowest", tr("Lowest rating:")},
                                                      {"streak", tr("Streaks:")},
                                                      {"clock", tr("Usual clock:")},
                                                      {"performance", tr("Performance by year:")}};
  for (const auto& [name, label] : kFigures) {
    auto* value = new QLabel;
    value->setObjectName(name);
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label, value);
  }

  notable_->setHorizontalHeaderLabels(
      {QString(), tr("Rating"), tr("Date"), tr("Opponent"), tr("Game")});
  months_->setHorizontalHeaderLabels({tr("Month"), tr("Before"), tr("After"), tr("Change")});
  endings_->setHorizontalHeaderLabels(ResultHeaders(tr("Ended by")));
  hours_->setHorizontalHeaderLabels(ResultHeaders(tr("Hour")));
  weekdays_->setHorizontalHeaderLabels(ResultHeaders(tr("Day")));

  QTableView* notable = Table(notable_, tr("Best wins and worst losses"));
  notable->setAccessibleDescription(tr("Enter or a double click opens the game in the browser"));
  connect(notable, &QAbstractItemView::activated, this, &SummaryTab::OpenLink);
  // A click on the link opens it too, unless the style makes every click an activation.
  if (!notable->style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick)) {
    connect(notable, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
      if (index.column() == Link) OpenLink(index);
    });
  }

  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->addLayout(picker);
  layout->addWidget(Group(tr("The pool picked"), figures));
  layout->addWidget(Group(tr("Best wins and worst losses, by the opponent's rating"), notable));
  layout->addWidget(Group(tr("Rating by month (UTC)"), Table(months_, tr("Rating by month"))));
  layout->addWidget(Group(tr("How the games ended"), Table(endings_, tr("How the games ended"))));
  auto* times = new QWidget;
  auto* timesLayout = new QHBoxLayout(times);
  timesLayout->setContentsMargins(0, 0, 0, 0);
  timesLayout->addWidget(Table(hours_, tr("Results by hour")), 0, Qt::AlignTop);
  timesLayout->addWidget(Table(weekdays_, tr("Results by weekday")), 0, Qt::AlignTop);
  timesLayout->addStretch(1);
  layout->addWidget(
      Group(tr("All the games shown, by the hour and the day they began (local time)"), times));
  layout->addStretch(1);
  auto* scroll = static_cast<QScrollArea*>(widget(1));
  scroll->setAccessibleName(tr("Summary"));
  scroll->setWidgetResizable(true);
  scroll->setWidget(content);

  connect(pools_, &QComboBox::currentIndexChanged, this, &SummaryTab::ShowPool);
}

namespace {

struct SummaryFigures {
  std::vector<PoolSummary> pools;
  TimeOfDayResults times;
};

}  // namespace

std::any SummaryTab::Figures(const StatsInput& input) const {
  return SummaryFigures{PoolSummaries(input.games), ResultsByTimeOfDay(input.games, false)};
}

void SummaryTab::Show(const StatsInput&, std::any figures) {
  auto [pools, times] = std::any_cast<SummaryFigures>(std::move(figures));
  summaries_ = std::move(pools);
  if (summaries_.empty()) {
    ShowMessage(tr("No games to summarise."));
    return;
  }
  // The pool shown stays across a refresh while it has games; the largest one otherwise.
  const QString kept = pools_->currentData().toString();
  const QSignalBlocker blocker(pools_);
  pools_->clear();
  size_t largest = 0;
  for (size_t i = 0; i < summaries_.size(); ++i) {
    const PoolSummary& s = summaries_[i];
    const QString pool = RecordText(s.pool);
    pools_->addItem(pool + " (" + QString::fromStdString(GamesText(s.counts.Games())) + ")", pool);
    if (s.counts.Games() > summaries_[largest].counts.Games()) largest = i;
  }
  const int index = pools_->findData(kept);
  pools_->setCurrentIndex(index >= 0 ? index : static_cast<int>(largest));
  ShowPool();

  hours_->removeRows(0, hours_->rowCount());
  for (int hour = 0; hour < 24; ++hour) {
    if (times.hours[hour].Games() == 0) continue;
    hours_->appendRow(ResultRow(QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')), hour,
                                times.hours[hour]));
  }
  weekdays_->removeRows(0, weekdays_->rowCount());
  for (int day = 0; day < 7; ++day) {
    if (times.weekdays[day].Games() == 0) continue;
    weekdays_->appendRow(ResultRow(QString::fromUtf8(WeekdayName(day)), day, times.weekdays[day]));
  }
  ShowContent();
}

void SummaryTab::ShowPool() {
  const int index = pools_->currentIndex();
  if (index < 0 || static_cast<size_t>(index) >= summaries_.size()) return;
  const PoolSummary& pool = summaries_[static_cast<size_t>(index)];
  const ScoreCounts& c = pool.counts;
  const auto set = [this](const char* name, const QString& text) { figure(name)->setText(text); };
  const auto dated = [](const std::optional<DatedRating>& rating) {
    return rating ? tr("%1 on %2").arg(rating->rating).arg(DateOf(rating->start)) : tr("unknown");
  };
  set("games", QString::number(c.Games()));
  set("score", tr("%1 won, %2 drawn, %3 lost: %4%")
                   .arg(c.won)
                   .arg(c.drawn)
                   .arg(c.lost)
                   .arg(ScorePercentage(c.won, c.drawn, c.lost)));
  set("peak", dated(pool.peak));
  set("lowest", dated(pool.lowest));
  set("streak", QString::fromStdString(StreakText(pool.streaks)));
  set("clock", pool.usualClock ? tr("%1, %2 of %3")
                                     .arg(QString::fromStdString(ClockText(pool.usualClock->clock)))
                                     .arg(pool.usualClock->games)
                                     .arg(QString::fromStdString(GamesText(c.Games())))
                               : tr("unknown"));
  QStringList years;
  for (const YearPerformance& year : pool.years) {
    years << QString::number(year.year) + ": " +
                 (year.performance ? QString::fromStdString(PerformanceText(*year.performance))
                                   : tr("unknown: no opponent's rating known"));
  }
  set("performance", years.isEmpty() ? tr("unknown") : years.join('\n'));

  notable_->removeRows(0, notable_->rowCount());
  AddNotable(notable_, tr("Best win"), pool.bestWins);
  AddNotable(notable_, tr("Worst loss"), pool.worstLosses);
  months_->removeRows(0, months_->rowCount());
  for (const MonthChange& month : pool.months) {
    const int change = month.after - month.before;
    months_->appendRow({Cell(QString::fromStdString(month.month)), NumberCell(month.before),
                        NumberCell(month.after),
                        Cell((change >= 0 ? "+" : "") + QString::number(change), change)});
  }
  endings_->removeRows(0, endings_->rowCount());
  for (const EndingCount& ending : pool.endings) {
    endings_->appendRow(
        ResultRow(QString::fromUtf8(EndingName(ending.ending)), QVariant(), ending.counts));
  }
}

void SummaryTab::OpenLink(const QModelIndex& index) {
  const QString link = notable_->index(index.row(), Link).data(Qt::UserRole).toString();
  if (!link.isEmpty()) QDesktopServices::openUrl(QUrl(link, QUrl::StrictMode));
}

}  // namespace tessik
