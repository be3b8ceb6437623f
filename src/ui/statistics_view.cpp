#include "ui/statistics_view.h"

#include <QVBoxLayout>

#include "ui/host_text.h"

namespace tessik {

StatisticsView::StatisticsView(const CPluginApp& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      tabs_(new QTabWidget),
      headToHead_(new HeadToHeadTab),
      ratingHistory_(new RatingHistoryTab),
      activity_(new ActivityTab) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setModal(false);
  tabs_->addTab(headToHead_, tr("Head to head"));
  tabs_->addTab(ratingHistory_, tr("Rating history"));
  tabs_->addTab(activity_, tr("Activity"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  resize(900, 600);
}

void StatisticsView::ShowFor(const std::string& opponent) {
  opponent_ = opponent;
  show();
  Refresh();
  raise();
  activateWindow();
}

void StatisticsView::Refresh() {
  const QString user = TextOfBytes(app_.userName);
  setWindowTitle(user.isEmpty() ? tr("Statistics") : tr("Statistics for %1").arg(user));
  QString why;
  if (!app_.SessionOpen()) {
    why = tr("No user is logged in: the statistics show once Vexmoor connects you to the server.");
  } else if (app_.gameLog.size() <= 1) {
    why = tr("No games recorded yet: the statistics show once you have played a game.");
  }
  if (!why.isEmpty()) {
    for (StatsPage* page :
         {static_cast<StatsPage*>(headToHead_), static_cast<StatsPage*>(ratingHistory_),
          static_cast<StatsPage*>(activity_)}) {
      page->ShowMessage(why);
    }
    return;
  }
  const std::vector<Game> games = GamesOfLog(app_.gameLog);
  // One record against the opponent, for the tab that lists it and the one that marks it.
  const HeadToHead record = opponent_.empty() ? HeadToHead() : HeadToHeadRecord(games, opponent_);
  const StatsInput input{games, app_.userName, record};
  headToHead_->Show(input);
  ratingHistory_->Show(input);
  activity_->Show(input);
}

}  // namespace tessik
