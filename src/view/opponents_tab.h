// The statistics view's opponents: every opponent of the games shown, a row each with the figures
// tessik-stats gives for them, to sort by any column and to narrow by name; a row opens the
// record against its opponent.
#pragma once

#include <QLineEdit>
#include <QTableView>
#include <string>

#include "view/stats_page.h"

namespace tessik {

class OpponentsModel;
class OpponentsProxy;

class OpponentsTab : public StatsPage {
  Q_OBJECT

 public:
  enum Column {
    kOpponent,
    kServer,
    kGames,
    kWon,
    kDrawn,
    kLost,
    kScore,
    kExpected,
    kDifference,
    kPerformance,
    kLastGame,
    kColumns
  };
  // A cell's value beside its text: a name as text, a figure as a number, a date as a QDate;
  // nothing where it is unknown.
  static constexpr int kValueRole = Qt::UserRole;

  explicit OpponentsTab(QWidget* parent = nullptr);
  std::any Figures(const StatsInput& input) const override;
  void Show(const StatsInput& input, std::any figures) override;

  QLineEdit* search() const { return search_; }
  QTableView* table() const { return table_; }

 signals:
  // The user picked a row (double-click or Enter): the opponent's name, as the games hold it.
  void OpponentChosen(const std::string& name);

 private:
  OpponentsModel* model_;
  OpponentsProxy* proxy_;
  QLineEdit* search_;
  QTableView* table_;
};

}  // namespace tessik
