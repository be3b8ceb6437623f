#include "view/statistics_view.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "ui/host_text.h"
#include "view/save_picture.h"

namespace tessik {

StatisticsView::StatisticsView(GameSource& source, QWidget* parent)
    : QMainWindow(parent),
      source_(source),
      filterBar_(new FilterBar),
      tabs_(new QTabWidget),
      headToHead_(new HeadToHeadTab),
      opponents_(new OpponentsTab),
      ratingHistory_(new RatingHistoryTab),
      openings_(new OpeningsTab),
      summary_(new SummaryTab),
      activity_(new ActivityTab) {
  tabs_->addTab(headToHead_, tr("Head to head"));
  tabs_->addTab(opponents_, tr("Opponents"));
  tabs_->addTab(ratingHistory_, tr("Rating history"));
  tabs_->addTab(openings_, tr("Openings"));
  tabs_->addTab(summary_, tr("Summary"));
  tabs_->addTab(activity_, tr("Activity"));
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(filterBar_);
  layout->addWidget(tabs_, 1);
  setCentralWidget(central);
  connect(filterBar_, &FilterBar::Changed, this, &StatisticsView::ShowGames);
  // Ctrl+Tab and Ctrl+PgDown turn to the next tab (with Shift, or PgUp: the one before) wherever
  // the keyboard is, a table too, which would take the keys for itself.
  for (const auto& [keys, step] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                                   {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                   {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                                   {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, step = step] {
      tabs_->setCurrentIndex((tabs_->currentIndex() + step + tabs_->count()) % tabs_->count());
    });
  }
  QMenu* file = menuBar()->addMenu(tr("&File"));
  savePicture_ = file->addAction(tr("&Save picture\u2026"), QKeySequence::Save, this,
                                 &StatisticsView::SaveChart);
  file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
  // Only a tab that draws a chart has a picture to save.
  connect(tabs_, &QTabWidget::currentChanged, this, [this] {
    WorkOutAhead();
    DrawShownTab();
    savePicture_->setEnabled(CurrentChart() != nullptr);
  });
  savePicture_->setEnabled(CurrentChart() != nullptr);
  const QString user = TextOfBytes(source_.User());
  setWindowTitle(user.isEmpty() ? tr("Statistics") : tr("Statistics for %1").arg(user));
  resize(900, 600);
  connect(&look_, &QTimer::timeout, this, &StatisticsView::RefreshWhenChanged);
  look_.start(kLookIntervalMs);
  // The games stay: only the record against the opponent changes, drawn as its tab comes up.
  connect(opponents_, &OpponentsTab::OpponentChosen, this, [this](const std::string& name) {
    ahead_.Stop();
    opponent_ = name;
    record_ = HeadToHeadRecord(shown_, opponent_);
    MarkEveryTabStale();
    tabs_->setCurrentWidget(headToHead_);
  });
}

QChartView* StatisticsView::CurrentChart() const {
  QWidget* tab = tabs_->currentWidget();
  return tab == nullptr ? nullptr : tab->findChild<QChartView*>();
}

void StatisticsView::SaveChart() {
  QChartView* chart = CurrentChart();
  if (chart == nullptr) return;
  const QString path = QFileDialog::getSaveFileName(this, tr("Save picture"), QString(),
                                                    tr("PNG picture (*.png);;SVG picture (*.svg)"));
  if (path.isEmpty()) return;
  if (const QString why = SavePicture(*chart, path); !why.isEmpty()) {
    QMessageBox::warning(this, tr("Save picture"),
                         tr("The picture was not saved to %1: %2").arg(path, why));
  }
}

void StatisticsView::ShowFor(const std::string& opponent) {
  opponent_ = opponent;
  show();
  Refresh();
  raise();
  activateWindow();
}

void StatisticsView::RefreshWhenChanged() {
  if (isVisible() && source_.Version() != version_) Refresh();
}

void StatisticsView::changeEvent(QEvent* event) {
  // A desktop turned dark (or light): the charts are drawn again in the colours of its palette,
  // once the tabs have it too (the window hears of it before them).
  if (event->type() == QEvent::PaletteChange) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (shown_.empty()) return;
          MarkEveryTabStale();
          DrawShownTab();
        },
        Qt::QueuedConnection);
  }
  QMainWindow::changeEvent(event);
}

void StatisticsView::ShowMessage(const QString& why) {
  ahead_.Stop();
  stale_.clear();
  shown_ = {};
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* page = qobject_cast<StatsPage*>(tabs_->widget(i))) page->ShowMessage(why);
  }
}

void StatisticsView::Refresh() {
  ahead_.Stop();
  // The version goes first: a change made while the games are read is read at the next look.
  version_ = source_.Version();
  try {
    games_ = source_.Games();
  } catch (const std::runtime_error& error) {
    games_.clear();
    ShowMessage(TextOfBytes(error.what()));
    return;
  }
  ShowGames();
}

void StatisticsView::ShowGames() {
  ahead_.Stop();
  if (games_.empty()) {
    ShowMessage(
        tr("No games recorded yet: the statistics show once you have played a game with "
           "the plug-in, or brought your games in with tessik-stats fetch or import."));
    return;
  }
  const GameFilter filter = filterBar_->Filter(QDateTime::currentSecsSinceEpoch());
  const auto accepted = [&filter](const Game& game) { return Accepts(filter, game); };
  // A filter that lets every game through is the usual one: the tabs then read the record
  // itself, not a copy of it (a million games are 64 MB).
  filtered_.clear();
  if (std::all_of(games_.begin(), games_.end(), accepted)) {
    shown_ = games_;
  } else {
    std::copy_if(games_.begin(), games_.end(), std::back_inserter(filtered_), accepted);
    shown_ = filtered_;
  }
  if (shown_.empty()) {
    ShowMessage(tr("None of your games is of the kind the filter asks for."));
    return;
  }
  // One record against the opponent, for the tab that lists it and the one that marks it.
  record_ = opponent_.empty() ? HeadToHead() : HeadToHeadRecord(shown_, opponent_);
  MarkEveryTabStale();
  DrawShownTab();
}

void StatisticsView::MarkEveryTabStale() {
  ahead_.Stop();
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* page = qobject_cast<StatsPage*>(tabs_->widget(i))) stale_.insert(page);
  }
}

void StatisticsView::WorkOutAhead() {
  if (ahead_.Started()) return;
  std::vector<StatsPage*> ahead;  // the tabs after the one shown first, as a user turns to them
  for (int i = 1; i < tabs_->count(); ++i) {
    auto* page =
        qobject_cast<StatsPage*>(tabs_->widget((tabs_->currentIndex() + i) % tabs_->count()));
    if (page != nullptr && stale_.contains(page)) ahead.push_back(page);
  }
  ahead_.Start(std::move(ahead), Input());
}

void StatisticsView::DrawShownTab() {
  auto* page = qobject_cast<StatsPage*>(tabs_->currentWidget());
  if (page == nullptr || stale_.erase(page) == 0) return;
  page->Show(Input(), ahead_.Take(page, Input()));
}

}  // namespace tessik
