// The statistics view's summary, as tessik-stats summary gives it: for the rating pool picked,
// the score, the ratings reached, the streaks, the best wins and worst losses, the rating month
// by month, the performance year by year, the usual clock and how the games ended; then the
// results of the whole record by the hour and the day the games began, in local time.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <vector>

#include "stats/pool_summary.h"
#include "view/stats_page.h"

namespace tessik {

class SummaryTab : public StatsPage {
  Q_OBJECT

 public:
  // The columns of the notable games. The link cell's Qt::UserRole holds the game's address.
  enum NotableColumn { Kind, OpponentRating, Date, Opponent, Link };
  // The columns of every table of results (endings, hours, weekdays); Qt::UserRole holds the
  // hour or the day's index, and each number.
  enum ResultColumn { Name, Games, Won, Drawn, Lost, Score };
  // The columns of the months: the month, the rating before, after, and the change.
  enum MonthColumn { Month, Before, After, Change };

  explicit SummaryTab(QWidget* parent = nullptr);
  std::any Figures(const StatsInput& input) const override;
  void Show(const StatsInput& input, std::any figures) override;

  QComboBox* pools() const { return pools_; }
  // The label of a figure of the pool picked, by name: "games", "score", "peak", "lowest",
  // "streak", "clock", "performance".
  QLabel* figure(const char* name) const { return findChild<QLabel*>(name); }
  QStandardItemModel* notable() const { return notable_; }
  QStandardItemModel* months() const { return months_; }
  QStandardItemModel* endings() const { return endings_; }
  QStandardItemModel* hours() const { return hours_; }
  QStandardItemModel* weekdays() const { return weekdays_; }

 private:
  // Shows the pool picked in the box.
  void ShowPool();
  // Opens the link of the game at index's row, when it has one.
  void OpenLink(const QModelIndex& index);

  std::vector<PoolSummary> summaries_;  // in the order of the box
  QComboBox* pools_;
  QStandardItemModel* notable_;
  QStandardItemModel* months_;
  QStandardItemModel* endings_;
  QStandardItemModel* hours_;
  QStandardItemModel* weekdays_;
};

}  // namespace tessik
