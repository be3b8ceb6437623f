#include "view/opponents_tab.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTimeZone>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "stats/opponent_table.h"
#include "stats/summary_text.h"
#include "stats/utc_time.h"
#include "store/handle.h"
#include "ui/host_text.h"

namespace tessik {

// The rows as plain values: tens of thousands of them sort at once.
class OpponentsModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void Set(std::vector<OpponentRow> rows) {
    if (rows == rows_) return;  // the same figures: the reader's place and selection stay
    beginResetModel();
    rows_ = std::move(rows);
    names_.clear();
    names_.reserve(static_cast<qsizetype>(rows_.size()));
    for (std::vector<double>& keys : keys_) keys.assign(rows_.size(), kUnknown);
    for (size_t i = 0; i < rows_.size(); ++i) {
      const OpponentRow& row = rows_[i];
      names_ << TextOfBytes(PrintableName(row.opponent));
      keys_[OpponentsTab::kOpponent][i] = static_cast<double>(i);  // the rows come in name order
      keys_[OpponentsTab::kServer][i] = ServerPlace(row.server);
      for (int column = OpponentsTab::kGames; column < OpponentsTab::kColumns; ++column) {
        keys_[column][i] = Figure(row, column).value_or(kUnknown);
      }
    }
    endResetModel();
  }
  const std::string& Opponent(int row) const { return rows_[static_cast<size_t>(row)].opponent; }
  Server ServerOf(int row) const { return rows_[static_cast<size_t>(row)].server; }
  // The row of opponent on server; -1 when there is none.
  int RowOf(Server server, const std::string& opponent) const {
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const OpponentRow& row) {
      return row.server == server && row.opponent == opponent;
    });
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
  }
  const QString& Name(int row) const { return names_[row]; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : OpponentsTab::kColumns;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const OpponentRow& row = rows_[static_cast<size_t>(index.row())];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole && column >= OpponentsTab::kGames) {
      return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != OpponentsTab::kValueRole) return {};
    const bool text = role == Qt::DisplayRole;
    if (column == OpponentsTab::kOpponent) return names_[index.row()];
    if (column == OpponentsTab::kServer) return QString::fromUtf8(ServerName(row.server));
    const std::optional<double> value = Figure(row, column);
    if (!value) return {};
    if (column == OpponentsTab::kLastGame) {
      if (text) return QString::fromStdString(DateText(row.lastGame));
      return QDateTime::fromSecsSinceEpoch(row.lastGame, QTimeZone::utc()).date();
    }
    if (column == OpponentsTab::kExpected || column == OpponentsTab::kDifference) {
      if (text)
        return QString::fromStdString(OneDecimal(*value, column == OpponentsTab::kDifference));
      return *value;
    }
    return text ? QVariant(QString::number(static_cast<int>(*value)))
                : QVariant(static_cast<int>(*value));
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal) return {};
    // A first click on a figure puts the highest first; on a name, A first.
    if (role == Qt::InitialSortOrderRole) {
      return static_cast<int>(section <= OpponentsTab::kServer ? Qt::AscendingOrder
                                                               : Qt::DescendingOrder);
    }
    if (role != Qt::DisplayRole) return {};
    static const char* const kTitles[] = {"Opponent", "Server",      "Games",    "Won",
                                          "Drawn",    "Lost",        "Score %",  "Expected",
                                          "+/-",      "Performance", "Last game"};
    return QCoreApplication::translate("tessik::OpponentsTab", kTitles[section]);
  }

  // Whether row a goes before row b in the column's order; an unknown figure goes after every
  // known one, whichever way the column is sorted.
  bool Less(int column, int a, int b, Qt::SortOrder order) const {
    const double x = keys_[column][static_cast<size_t>(a)];
    const double y = keys_[column][static_cast<size_t>(b)];
    if (!std::isnan(x) && !std::isnan(y)) return x < y;
    // The view puts b before a in a descending order when a is less.
    return order == Qt::AscendingOrder ? std::isnan(y) && !std::isnan(x)
                                       : std::isnan(x) && !std::isnan(y);
  }

 private:
  // A column's figure as a number; a date as its seconds.
  static std::optional<double> Figure(const OpponentRow& row, int column) {
    switch (column) {
      case OpponentsTab::kGames:
        return row.Games();
      case OpponentsTab::kWon:
        return row.won;
      case OpponentsTab::kDrawn:
        return row.drawn;
      case OpponentsTab::kLost:
        return row.lost;
      case OpponentsTab::kScore:
        return ScorePercentage(row.won, row.drawn, row.lost);
      case OpponentsTab::kExpected:
        return row.expected;
      case OpponentsTab::kDifference:
        return row.difference;
      case OpponentsTab::kPerformance:
        if (!row.performance) return std::nullopt;
        return row.performance->rating;
      case OpponentsTab::kLastGame:
        if (row.lastGame == kUnknownStartTime) return std::nullopt;
        return static_cast<double>(row.lastGame);
      default:
        return std::nullopt;
    }
  }

  // A server's place in the order of the names shown.
  static double ServerPlace(Server server) {
    int before = 0;
    for (Server other : kServers) before += ServerName(other) < ServerName(server) ? 1 : 0;
    return before;
  }

  static constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
  std::vector<OpponentRow> rows_;
  QStringList names_;  // as shown: never markup, no control character
  // Each column's values as numbers, column by column: a sort reads one column of many rows.
  std::array<std::vector<double>, OpponentsTab::kColumns> keys_;
};

class OpponentsProxy : public QSortFilterProxyModel {
 public:
  OpponentsProxy(OpponentsModel* model, QObject* parent)
      : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(model);
  }
  void Search(const QString& text) {
    search_ = text;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override {
    return model_->Name(row).contains(search_, Qt::CaseInsensitive);
  }
  // The rows' own values, not their texts: a sort of many rows asks this very often.
  bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
    return model_->Less(a.column(), a.row(), b.row(), sortOrder());
  }

 private:
  OpponentsModel* model_;
  QString search_;
};

OpponentsTab::OpponentsTab(QWidget* parent)
    : StatsPage(new QWidget, parent),
      model_(new OpponentsModel(this)),
      proxy_(new OpponentsProxy(model_, this)),
      search_(new QLineEdit),
      table_(new QTableView) {
  search_->setObjectName("search");
  search_->setAccessibleName(tr("Search"));
  search_->setPlaceholderText(tr("Search opponents by name"));
  search_->setClearButtonEnabled(true);
  table_->setObjectName("opponents");
  table_->setAccessibleName(tr("Opponents"));
  table_->setModel(proxy_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(kGames, Qt::DescendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setTabKeyNavigation(false);  // as in every table of the view
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  auto* layout = new QVBoxLayout(widget(1));
  layout->addWidget(search_);
  layout->addWidget(table_, 1);
  connect(search_, &QLineEdit::textChanged, this,
          [this](const QString& text) { proxy_->Search(text); });
  // Activated: a double-click, or Enter on the current row.
  connect(table_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    emit OpponentChosen(model_->Opponent(proxy_->mapToSource(index).row()));
  });
}

std::any OpponentsTab::Figures(const StatsInput& input) const { return OpponentTable(input.games); }

void OpponentsTab::Show(const StatsInput& input, std::any figures) {
  auto rows = std::any_cast<std::vector<OpponentRow>>(std::move(figures));
  const bool none = rows.empty(), first = model_->rowCount({}) == 0;
  // The reader's row stays theirs when the figures change under it (a game was recorded).
  const QModelIndex current = proxy_->mapToSource(table_->currentIndex());
  std::optional<std::pair<Server, std::string>> kept;
  if (current.isValid()) kept = {model_->ServerOf(current.row()), model_->Opponent(current.row())};
  model_->Set(std::move(rows));
  if (first) table_->resizeColumnsToContents();  // later, the widths the user gave them stay
  if (const int row = kept ? model_->RowOf(kept->first, kept->second) : -1; row >= 0) {
    const QModelIndex again = proxy_->mapFromSource(model_->index(row, current.column()));
    table_->setCurrentIndex(again);
    table_->scrollTo(again);
  }
  if (none) {
    ShowMessage(input.games.empty() ? tr("No games to list opponents from.")
                                    : tr("No opponent to list: games against guests and "
                                         "anonymous players are left out."));
    return;
  }
  ShowContent();
}

}  // namespace tessik
