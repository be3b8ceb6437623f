// A tab of the statistics view: its content, or in its place a sentence saying why there is none
// (never an empty chart).
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <QtCharts/QChartView>
#include <any>
#include <span>
#include <string>

#include "stats/game.h"
#include "stats/head_to_head.h"

namespace tessik {

// What a tab is drawn from: the games of the record that the filter lets through (the view keeps
// them until it shows others: a tab may keep the span until its next Show), the user, and the
// record against the opponent picked (without one, a record of no games).
struct StatsInput {
  std::span<const Game> games;
  const std::string& user;
  const HeadToHead& record;
};

class StatsPage : public QStackedWidget {
  Q_OBJECT

 public:
  explicit StatsPage(QWidget* content, QWidget* parent = nullptr);

  // Works out from input the figures Show draws, on whichever thread: the view works out those
  // of the tabs not shown while the user reads the one shown. Reads nothing of the tab itself.
  // None for a tab drawn from its input alone.
  virtual std::any Figures(const StatsInput& input) const;
  // Draws the tab from input and the figures Figures worked out from it: the view calls it when
  // the tab is shown after a change.
  virtual void Show(const StatsInput& input, std::any figures) = 0;
  // The sentence instead of the content.
  void ShowMessage(const QString& text);
  void ShowContent();
  // A new chart in the theme of the desktop's palette, dark or light.
  QChart* NewChart() const;
  // Puts chart in view in place of the chart it showed, and shows the content.
  void ShowChart(QChartView* view, QChart* chart);
  // The sentence shown, empty while the content is.
  QString Message() const;

 private:
  QLabel* message_;
};

}  // namespace tessik
