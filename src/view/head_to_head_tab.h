// The statistics view's record against the opponent picked: a table of the record overall, by
// colour and by rating type, the summary tessik-stats prints, the last twenty results as
// coloured marks, and the plug-in's score lines to copy.
#pragma once

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

#include "view/stats_page.h"

namespace tessik {

class HeadToHeadTab : public StatsPage {
  Q_OBJECT

 public:
  static constexpr int kMarks = 20;
  // The table's columns. Each cell's Qt::UserRole holds its number (nothing when unknown).
  enum Column { Split, Games, Won, Drawn, Lost, Score, Expected, Difference, Performance, Last };

  explicit HeadToHeadTab(QWidget* parent = nullptr);
  void Show(const StatsInput& input, std::any figures) override;

  QStandardItemModel* table() const { return table_; }
  QPushButton* copyButton() const { return copy_; }

 private:
  QLabel* title_;
  QStandardItemModel* table_;
  QTableView* tableView_;
  QLabel* rules_;
  QFormLayout* summary_;
  QHBoxLayout* strip_;
  QPushButton* copy_;
  QString lines_;  // the plug-in's score lines, for Copy as text
};

}  // namespace tessik
