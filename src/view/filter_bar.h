// The statistics view's filter bar: which of the record's games every tab counts. Each choice
// means what the same option of tessik-stats means (--since/--until, --server, --class or
// --type, --colour, --rated/--unrated), so that the view's numbers are tessik-stats' numbers.
#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QWidget>

#include "stats/game_filter.h"

namespace tessik {

class FilterBar : public QWidget {
  Q_OBJECT

 public:
  explicit FilterBar(QWidget* parent = nullptr);

  // The filter the choices make, its periods counted back from now (seconds UTC).
  GameFilter Filter(int64_t now) const;
  // The filter as tessik-stats' options, for a line under a table: "--class blitz --colour
  // white"; empty when every game counts.
  QString OptionsText() const;

  QComboBox* period() const { return period_; }
  QComboBox* server() const { return server_; }
  QComboBox* kind() const { return kind_; }
  QComboBox* colour() const { return colour_; }
  QComboBox* rated() const { return rated_; }
  QDateEdit* from() const { return from_; }
  QDateEdit* to() const { return to_; }

 signals:
  void Changed();

 private:
  QComboBox* AddChoice(const QString& label, const QString& accessibleName);

  QComboBox* period_;
  QDateEdit* from_;
  QDateEdit* to_;
  QComboBox* server_;
  QComboBox* kind_;  // a time class, or a rating type of the host's server
  QComboBox* colour_;
  QComboBox* rated_;
};

}  // namespace tessik
