#include "view/openings_tab.h"

#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "stats/summary_text.h"
#include "stats/utc_time.h"
#include "ui/host_text.h"
#include "view/table_cells.h"

namespace tessik {

namespace {

// A game's link, when it is one a browser may open.
QUrl LinkOf(const Game& game) {
  if (!game.details) return {};
  const QUrl url(TextOfBytes(game.details->link), QUrl::StrictMode);
  return url.isValid() && (url.scheme() == "https" || url.scheme() == "http") ? url : QUrl();
}

}  // namespace

OpeningsTab::OpeningsTab(QWidget* parent)
    : StatsPage(new QWidget, parent),
      grouping_(new QComboBox),
      table_(new QStandardItemModel(this)),
      sorted_(new QSortFilterProxyModel(this)),
      tableView_(new QTableView) {
  grouping_->setAccessibleName(tr("Group openings by"));
  grouping_->addItem(tr("ECO code"), static_cast<int>(OpeningKey::Eco));
  grouping_->addItem(tr("Name"), static_cast<int>(OpeningKey::Name));
  grouping_->addItem(tr("Family"), static_cast<int>(OpeningKey::Family));
  table_->setHorizontalHeaderLabels({tr("Colour"), tr("Opening"), tr("Games"), tr("Won"),
                                     tr("Drawn"), tr("Lost"), tr("Score"), tr("Expected")});
  sorted_->setSourceModel(table_);
  sorted_->setSortRole(Qt::UserRole);
  SetUpTable(tableView_, sorted_, tr("Openings"));
  tableView_->setSortingEnabled(true);
  tableView_->sortByColumn(-1,
                           Qt::AscendingOrder);  // tessik-stats' order until a header is clicked
  tableView_->horizontalHeader()->setSectionResizeMode(Opening, QHeaderView::Stretch);
  auto* caption = new QLabel(tr("&Group by:"));
  caption->setBuddy(grouping_);
  auto* row = new QHBoxLayout;
  row->addWidget(caption);
  row->addWidget(grouping_);
  row->addStretch(1);
  auto* hint = new QLabel(
      tr("Expected: the score the ratings predicted, over the games whose ratings are both "
         "known. Enter or a double-click lists a row's games."));
  hint->setWordWrap(true);
  auto* layout = new QVBoxLayout(widget(1));
  layout->addLayout(row);
  layout->addWidget(tableView_, 1);
  layout->addWidget(hint);
  connect(grouping_, &QComboBox::currentIndexChanged, this, [this] { Fill(); });
  connect(tableView_, &QTableView::activated, this, &OpeningsTab::OpenGames);
}

void OpeningsTab::Show(const StatsInput& input, std::any) {
  games_ = input.games;
  user_ = input.user;
  Fill();
}

void OpeningsTab::Fill() {
  table_->removeRows(0, table_->rowCount());
  const auto key = static_cast<OpeningKey>(grouping_->currentData().toInt());
  for (const OpeningRow& row : OpeningRows(games_, key, ExpectationRule::Table, 1)) {
    const QString colour = row.white ? tr("white") : tr("black");
    table_->appendRow(
        {Cell(colour, colour), Cell(TextOfBytes(row.opening), TextOfBytes(row.opening)),
         NumberCell(row.Games()), NumberCell(row.won), NumberCell(row.drawn), NumberCell(row.lost),
         PercentCell(static_cast<int>(ScorePercentage(row.won, row.drawn, row.lost))),
         PercentCell(row.ExpectedPercentage())});
  }
  if (table_->rowCount() == 0) {
    ShowMessage(tr("No games of known result yet."));
    return;
  }
  ShowContent();
}

void OpeningsTab::OpenGames(const QModelIndex& index) {
  const int row = sorted_->mapToSource(index).row();
  const bool white = table_->index(row, Colour).data(Qt::UserRole).toString() == tr("white");
  const std::string opening =
      BytesOfText(table_->index(row, Opening).data(Qt::UserRole).toString());
  const auto key = static_cast<OpeningKey>(grouping_->currentData().toInt());
  auto* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(
      tr("%1 with %2").arg(TextOfBytes(opening), white ? tr("white") : tr("black")));
  auto* list = new QTableWidget(0, 6, dialog);
  list->setObjectName("games");
  list->setAccessibleName(tr("Games"));
  list->setHorizontalHeaderLabels({tr("Date"), tr("Opponent"), tr("Result"), tr("Your rating"),
                                   tr("Their rating"), tr("Link")});
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setTabKeyNavigation(false);  // as in every table of the view
  list->verticalHeader()->hide();
  for (const Game& game : games_) {
    if ((game.record.userWhite != 0) != white || OpeningOf(game, key) != opening) continue;
    const int8_t result = game.record.result;
    if (result < kUserWon || result > kUserLost) continue;
    const int at = list->rowCount();
    list->insertRow(at);
    const QUrl link = LinkOf(game);
    const QString cells[] = {QString::fromStdString(DateText(game.Start())),
                             TextOfBytes(game.Opponent()),
                             ResultWord(result == kUserWon ? '+'
                                        : result == kDraw  ? '='
                                                           : '-'),
                             RatingText(game.record.userRating),
                             RatingText(game.record.opponentRating),
                             link.toString()};
    for (int column = 0; column < 6; ++column) {
      list->setItem(at, column, new QTableWidgetItem(cells[column]));
    }
  }
  list->resizeColumnsToContents();
  // A game's link opens in the browser.
  connect(list, &QTableWidget::itemActivated, dialog, [](QTableWidgetItem* item) {
    if (item->column() == 5 && !item->text().isEmpty()) QDesktopServices::openUrl(item->text());
  });
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(list);
  dialog->resize(720, 400);
  dialog->show();
}

}  // namespace tessik
