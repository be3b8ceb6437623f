// The statistics view's openings: tessik-stats' openings table, white and black apart, sortable,
// the score beside the score the ratings expected; a row opens the games behind it.
#pragma once

#include <QComboBox>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>

#include "stats/openings.h"
#include "view/stats_page.h"

namespace tessik {

class OpeningsTab : public StatsPage {
  Q_OBJECT

 public:
  // The table's columns. Each cell's Qt::UserRole holds what it sorts by: its number (nothing
  // when unknown) or its text.
  enum Column { Colour, Opening, Games, Won, Drawn, Lost, Score, Expected };

  explicit OpeningsTab(QWidget* parent = nullptr);
  void Show(const StatsInput& input, std::any figures) override;

  QComboBox* grouping() const { return grouping_; }
  QStandardItemModel* table() const { return table_; }
  QTableView* tableView() const { return tableView_; }

 private:
  void Fill();
  // Lists the games of the row at index (of the view's sorted model) in a window of their own.
  void OpenGames(const QModelIndex& index);

  QComboBox* grouping_;
  QStandardItemModel* table_;
  QSortFilterProxyModel* sorted_;
  QTableView* tableView_;
  std::span<const Game> games_;  // those shown, as the view keeps them
  std::string user_;
};

}  // namespace tessik
