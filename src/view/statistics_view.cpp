#include "view/statistics_view.h"

#include <QMenuBar>
#include <stdexcept>

#include "ui/host_text.h"

namespace tessik {

StatisticsView::StatisticsView(GameSource& source, QWidget* parent)
    : QMainWindow(parent),
      source_(source),
      tabs_(new QTabWidget),
      headToHead_(new HeadToHeadTab),
      opponents_(new OpponentsTab),
      ratingHistory_(new RatingHistoryTab),
      activity_(new ActivityTab) {
  tabs_->addTab(headToHead_, tr("Head to head"));
  tabs_->addTab(opponents_, tr("Opponents"));
  tabs_->addTab(ratingHistory_, tr("Rating history"));
  tabs_->addTab(activity_, tr("Activity"));
  setCentralWidget(tabs_);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
  const QString user = TextOfBytes(source_.User());
  setWindowTitle(user.isEmpty() ? tr("Statistics") : tr("Statistics for %1").arg(user));
  resize(900, 600);
  connect(&look_, &QTimer::timeout, this, &StatisticsView::RefreshWhenChanged);
  look_.start(kLookIntervalMs);
  connect(opponents_, &OpponentsTab::OpponentChosen, this, [this](const std::string& name) {
    ShowFor(name);
    tabs_->setCurrentWidget(headToHead_);
  });
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

void StatisticsView::ShowMessage(const QString& why) {
  for (StatsPage* page :
       {static_cast<StatsPage*>(headToHead_), static_cast<StatsPage*>(opponents_),
        static_cast<StatsPage*>(ratingHistory_), static_cast<StatsPage*>(activity_)}) {
    page->ShowMessage(why);
  }
}

void StatisticsView::Refresh() {
  // The version goes first: a change made while the games are read is read at the next look.
  version_ = source_.Version();
  std::vector<Game> games;
  try {
    games = source_.Games();
  } catch (const std::runtime_error& error) {
    ShowMessage(TextOfBytes(error.what()));
    return;
  }
  if (games.empty()) {
    ShowMessage(
        tr("No games recorded yet: the statistics show once you have played a game with "
           "the plug-in, or brought your games in with tessik-stats fetch or import."));
    return;
  }
  // One record against the opponent, for the tab that lists it and the one that marks it.
  const HeadToHead record = opponent_.empty() ? HeadToHead() : HeadToHeadRecord(games, opponent_);
  const StatsInput input{games, source_.User(), record};
  headToHead_->Show(input);
  opponents_->Show(input);
  ratingHistory_->Show(input);
  activity_->Show(input);
}

}  // namespace tessik
