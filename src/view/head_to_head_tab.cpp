#include "view/head_to_head_tab.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QVBoxLayout>
#include <algorithm>

#include "stats/game_filter.h"
#include "stats/record_splits.h"
#include "stats/summary_text.h"
#include "stats/utc_time.h"
#include "ui/host_text.h"
#include "view/table_cells.h"

namespace tessik {

namespace {

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

// The split's name as the score lines word it: "Overall", "With white", "Blitz with black".
QString SplitName(const RecordSplit& split) {
  QString type = split.type == AnyRatingType ? QString() : TextOfBytes(RatingTypeName(split.type));
  const QString colour = split.colours == kLineWhite   ? QStringLiteral("with white")
                         : split.colours == kLineBlack ? QStringLiteral("with black")
                                                       : QString();
  QString name = type.isEmpty() ? (colour.isEmpty() ? QStringLiteral("Overall") : colour)
                                : (colour.isEmpty() ? type : type + " " + colour);
  name[0] = name[0].toUpper();
  return name;
}

QList<QStandardItem*> Row(const RecordSplit& split) {
  const ScoreCounts& c = split.counts;
  const Expectation& e = split.expectation;
  QList<QStandardItem*> row{Cell(SplitName(split)),
                            NumberCell(c.Games()),
                            NumberCell(c.won),
                            NumberCell(c.drawn),
                            NumberCell(c.lost),
                            PercentCell(static_cast<int>(ScorePercentage(c.won, c.drawn, c.lost)))};
  if (e.games > 0) {
    row << Cell(QString::fromStdString(OneDecimal(e.expected)), e.expected)
        << Cell(QString::fromStdString(OneDecimal(e.scored - e.expected, true)),
                e.scored - e.expected);
  } else {
    row << Cell(QString()) << Cell(QString());
  }
  if (split.performance) {
    row << NumberCell(split.performance->rating);
    row.back()->setToolTip(PlainToolTip(TextOfBytes(PerformanceText(*split.performance))));
  } else {
    row << Cell(QString());
  }
  row << Cell(QString::fromStdString(DateText(split.lastGame)));
  return row;
}

}  // namespace

HeadToHeadTab::HeadToHeadTab(QWidget* parent)
    : StatsPage(new QWidget, parent),
      title_(new QLabel),
      table_(new QStandardItemModel(this)),
      tableView_(new QTableView),
      rules_(new QLabel),
      summary_(new QFormLayout),
      strip_(new QHBoxLayout),
      copy_(new QPushButton(tr("Copy as &text"))) {
  title_->setTextFormat(Qt::PlainText);  // it holds a name
  title_->setObjectName("title");
  table_->setHorizontalHeaderLabels({QString(), tr("Games"), tr("Won"), tr("Drawn"), tr("Lost"),
                                     tr("Score"), tr("Expected"), tr("+/\u2212"), tr("Performance"),
                                     tr("Last game")});
  SetUpTable(tableView_, table_, tr("Record by colour and rating type"));
  rules_->setTextFormat(Qt::PlainText);
  rules_->setWordWrap(true);
  rules_->setObjectName("rules");
  copy_->setAccessibleName(tr("Copy the plug-in's score lines"));
  strip_->setSpacing(3);
  auto* layout = new QVBoxLayout(widget(1));
  layout->addWidget(title_);
  layout->addWidget(tableView_, 1);
  layout->addWidget(rules_);
  layout->addLayout(summary_);
  layout->addWidget(new QLabel(tr("Last results, oldest first:")));
  layout->addLayout(strip_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(copy_);
  layout->addLayout(buttons);
  connect(copy_, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(lines_); });
}

void HeadToHeadTab::Show(const StatsInput& input, std::any) {
  const HeadToHead& record = input.record;
  const QString opponent = TextOfBytes(record.opponent);
  if (record.games.empty()) {
    ShowMessage(opponent.isEmpty()
                    ? tr("Pick a player: type the name in the plug-in's window and choose "
                         "Statistics\u2026, or start tessik-statistics with --opponent NAME.")
                    : tr("No games against %1 of the kind the filter asks for.").arg(opponent));
    return;
  }
  title_->setText(tr("Your record against %1").arg(opponent));
  table_->removeRows(0, table_->rowCount());
  for (const RecordSplit& split : RecordSplits(record, ExpectationRule::Table)) {
    table_->appendRow(Row(split));
  }
  rules_->setText(
      tr("Counted as tessik-stats counts: the name in any letter case, on every server; the "
         "expected points leave out the games whose ratings are not both known (%n here). The "
         "plug-in's score lines count each game, an unknown rating as it is stored.",
         nullptr, record.expectation.unknown));
  QStringList lines;
  for (const std::string& line : record.lines) lines << TextOfBytes(line);
  lines_ = lines.join('\n') + '\n';
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
