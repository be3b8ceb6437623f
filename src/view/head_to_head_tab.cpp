#include "view/head_to_head_tab.h"

#include <QFontDatabase>
#include <QVBoxLayout>
#include <algorithm>

#include "stats/summary_text.h"
#include "ui/host_text.h"

namespace tessik {

namespace {

QString RatingText(int rating) {
  return rating > 0 ? QString::number(rating) : QStringLiteral("?");
}

// One result of the strip: its sign on its colour, the game and the ratings on hover.
QLabel* Mark(const PlayedGame& game, const std::string& user, const std::string& opponent) {
  auto* mark = new QLabel(QString(QLatin1Char(game.result)));
  mark->setObjectName("mark");
  mark->setAlignment(Qt::AlignCenter);
  mark->setFixedSize(22, 22);
  const char* colour = game.result == '+' ? "#2e7d32" : game.result == '=' ? "#8d8d8d" : "#c62828";
  mark->setStyleSheet(
      QStringLiteral("color: white; font-weight: bold; background: %1;").arg(colour));
  mark->setToolTip(PlainToolTip(TextOfBytes(GameText(game)) + "\n" + TextOfBytes(user) + " " +
                                RatingText(game.userRating) + ", " + TextOfBytes(opponent) + " " +
                                RatingText(game.opponentRating)));
  return mark;
}

}  // namespace

HeadToHeadTab::HeadToHeadTab(QWidget* parent)
    : StatsPage(new QWidget, parent),
      lines_(new QLabel),
      summary_(new QFormLayout),
      strip_(new QHBoxLayout) {
  QWidget* content = widget(1);
  lines_->setObjectName("scoreLines");
  lines_->setTextFormat(Qt::PlainText);  // the lines hold names
  lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  lines_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  strip_->setSpacing(3);
  auto* layout = new QVBoxLayout(content);
  layout->addWidget(lines_);
  layout->addLayout(summary_);
  layout->addWidget(new QLabel(tr("Last results, oldest first:")));
  layout->addLayout(strip_);
  layout->addStretch(1);
}

void HeadToHeadTab::Show(const StatsInput& input) {
  // The name field's completion always names a player of the log; without a name, no record.
  const HeadToHead& record = input.record;
  if (record.games.empty()) {
    ShowMessage(
        tr("Pick a player: type the name in the plug-in's window and choose Statistics\u2026, or "
           "start tessik-statistics with --opponent NAME."));
    return;
  }
  QStringList lines;
  for (const std::string& line : record.lines) lines << TextOfBytes(line);
  lines_->setText(lines.join('\n'));
  while (summary_->rowCount() > 0) summary_->removeRow(0);
  for (const auto& [label, text] : SummaryRows(record)) {
    auto* value = new QLabel(TextOfBytes(text));
    value->setTextFormat(Qt::PlainText);
    value->setObjectName(TextOfBytes(label));
    summary_->addRow(TextOfBytes(label) + ":", value);
  }
  while (QLayoutItem* item = strip_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  for (const PlayedGame& game : LastGames(record, kMarks)) {
    strip_->addWidget(Mark(game, input.user, record.opponent));
  }
  strip_->addStretch(1);
  ShowContent();
}

}  // namespace tessik
