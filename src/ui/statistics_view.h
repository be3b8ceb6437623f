// The "Statistics" view, opened from the main window: the record against the opponent picked,
// the user's rating history and the games month by month, drawn from the session's game log. It
// is not modal: host messages keep flowing while it is open, and it follows the log.
#pragma once

#include <QDialog>
#include <QTabWidget>
#include <string>

#include "session/plugin_app.h"
#include "ui/activity_tab.h"
#include "ui/head_to_head_tab.h"
#include "ui/rating_history_tab.h"

namespace tessik {

class StatisticsView : public QDialog {
  Q_OBJECT

 public:
  StatisticsView(const CPluginApp& app, QWidget* parent);

  // Shows the view for opponent (empty: the user's own history only) and brings it forward.
  void ShowFor(const std::string& opponent);
  // Reads the session's log again.
  void Refresh();

  QTabWidget* tabs() const { return tabs_; }
  HeadToHeadTab* headToHead() const { return headToHead_; }
  RatingHistoryTab* ratingHistory() const { return ratingHistory_; }
  ActivityTab* activity() const { return activity_; }

 private:
  const CPluginApp& app_;
  std::string opponent_;
  QTabWidget* tabs_;
  HeadToHeadTab* headToHead_;
  RatingHistoryTab* ratingHistory_;
  ActivityTab* activity_;
};

}  // namespace tessik
