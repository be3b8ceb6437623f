// The "Statistics" view: the record against the opponent picked, every opponent, the user's rating
// history and the games month by month, drawn from the user's whole record. It follows the record:
// games added to the log or the database while it is open show within a second.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <set>
#include <span>
#include <string>

#include "stats/game_source.h"
#include "view/activity_tab.h"
#include "view/figures_ahead.h"
#include "view/filter_bar.h"
#include "view/head_to_head_tab.h"
#include "view/openings_tab.h"
#include "view/opponents_tab.h"
#include "view/rating_history_tab.h"
#include "view/summary_tab.h"

namespace tessik {

class StatisticsView : public QMainWindow {
  Q_OBJECT

 public:
  // How often the view looks whether the record has changed.
  static constexpr int kLookIntervalMs = 250;

  // The view of source's games, which must outlive it.
  explicit StatisticsView(GameSource& source, QWidget* parent = nullptr);

  // Shows the view for opponent (empty: the user's own history only) and brings it forward.
  void ShowFor(const std::string& opponent);
  // Reads the record again.
  void Refresh();

  FilterBar* filterBar() const { return filterBar_; }
  QTabWidget* tabs() const { return tabs_; }
  HeadToHeadTab* headToHead() const { return headToHead_; }
  OpponentsTab* opponents() const { return opponents_; }
  RatingHistoryTab* ratingHistory() const { return ratingHistory_; }
  OpeningsTab* openings() const { return openings_; }
  ActivityTab* activity() const { return activity_; }
  SummaryTab* summary() const { return summary_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // The chart of the tab shown; none for a tab without one.
  QChartView* CurrentChart() const;
  // Asks where, and saves the chart of the tab shown as a picture.
  void SaveChart();
  // Reads the record again when its files have changed since the last read.
  void RefreshWhenChanged();
  // Shows the games of the record read last that the filter bar lets through.
  void ShowGames();
  // Draws the tab shown, when the games have changed since it was drawn: a tab is drawn only
  // once a user turns to it.
  void DrawShownTab();
  // Marks every tab to be drawn again.
  void MarkEveryTabStale();
  // Once the user turns from the tab first drawn to another, works out the figures of the tabs
  // still to be drawn on a thread of their own: a view opened and closed again, or left on its
  // first tab, works out no more than it shows.
  void WorkOutAhead();
  // What the tabs are drawn from.
  StatsInput Input() const { return {shown_, source_.User(), record_}; }
  void ShowMessage(const QString& why);

  GameSource& source_;
  std::string version_;          // of the record last read
  std::vector<Game> games_;      // the whole record, as last read
  std::vector<Game> filtered_;   // the games the filter lets through, when it leaves some out
  std::span<const Game> shown_;  // those the filter lets through (games_ or filtered_): the tabs'
  HeadToHead record_;            // against the opponent, over shown_
  std::set<StatsPage*> stale_;   // tabs not drawn since the games changed
  std::string opponent_;
  FilterBar* filterBar_;
  QTabWidget* tabs_;
  HeadToHeadTab* headToHead_;
  OpponentsTab* opponents_;
  RatingHistoryTab* ratingHistory_;
  OpeningsTab* openings_;
  SummaryTab* summary_;
  ActivityTab* activity_;
  QAction* savePicture_;
  QTimer look_;
  FiguresAhead ahead_;  // of shown_ and record_; stopped before they change
};

}  // namespace tessik
