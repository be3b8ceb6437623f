// The openings tab on quill's record (support/record_pgn.h): each grouping, picked by keyboard,
// holds the rows of tessik-stats openings --json; a header click sorts by number; Enter on a row
// lists the games behind it.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <nlohmann/json.hpp>

#include "record/record_source.h"
#include "support/record_pgn.h"
#include "support/stats_run.h"
#include "view/statistics_view.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

// A row of the table as tessik-stats' JSON gives it.
Json RowJson(const QAbstractItemModel* table, int row) {
  const auto cell = [&](int column) { return table->index(row, column).data(Qt::UserRole); };
  const QVariant expected = cell(OpeningsTab::Expected);
  return {{"colour", cell(OpeningsTab::Colour).toString().toStdString()},
          {"opening", cell(OpeningsTab::Opening).toString().toStdString()},
          {"games", cell(OpeningsTab::Games).toInt()},
          {"won", cell(OpeningsTab::Won).toInt()},
          {"drawn", cell(OpeningsTab::Drawn).toInt()},
          {"lost", cell(OpeningsTab::Lost).toInt()},
          {"percentage", cell(OpeningsTab::Score).toInt()},
          {"expected_percentage", expected.isValid() ? Json(expected.toInt()) : Json()}};
}

TEST(OpeningsTab, HoldsTessikStatsRowsSortsAndOpensARowsGames) {
  TempDirectory dir;
  ImportRecord(dir);
  RecordSource source({dir.path(), "quill", (dir / "data/tessik/quill.sqlite").string()});
  StatisticsView view(source);
  view.ShowFor("");
  OpeningsTab* tab = view.openings();
  view.tabs()->setCurrentWidget(tab);  // a tab is drawn as it is shown
  const char* const kGroupings[] = {"eco", "name", "family"};
  for (int i = 0; i < 3; ++i) {
    tab->grouping()->setFocus();
    if (i > 0) QTest::keyClick(tab->grouping(), Qt::Key_Down);
    const StatsRun run =
        Stats(dir, std::string("--user quill openings --json --by ") + kGroupings[i]);
    ASSERT_EQ(run.status, 0) << run.err;
    Json rows = Json::array();
    for (int row = 0; row < tab->table()->rowCount(); ++row)
      rows.push_back(RowJson(tab->table(), row));
    Json expected = Json::parse(run.out);
    for (Json& row : expected) row.erase("expected_games");
    EXPECT_EQ(rows, expected) << kGroupings[i];
  }
  // A header click sorts by the figures, not by their texts ("100%" before "50%").
  QTableView* table = tab->tableView();
  QTest::mouseClick(
      table->horizontalHeader()->viewport(), Qt::LeftButton, {},
      QPoint(table->horizontalHeader()->sectionViewportPosition(OpeningsTab::Score) + 5, 5));
  std::vector<int> scores;
  for (int row = 0; row < table->model()->rowCount(); ++row) {
    scores.push_back(table->model()->index(row, OpeningsTab::Score).data(Qt::UserRole).toInt());
  }
  EXPECT_TRUE(std::is_sorted(scores.begin(), scores.end()) ||
              std::is_sorted(scores.rbegin(), scores.rend()));
  EXPECT_TRUE(std::count(scores.begin(), scores.end(), 100) > 0 &&
              std::count(scores.begin(), scores.end(), 0) > 0);
  // The first row after the sort, opened with Enter: a window listing its games.
  table->setFocus();
  table->setCurrentIndex(table->model()->index(0, OpeningsTab::Opening));
  QTest::keyClick(table, Qt::Key_Return);
  auto* list = tab->findChild<QTableWidget*>("games");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->rowCount(), table->model()->index(0, OpeningsTab::Games).data(Qt::UserRole));
}

}  // namespace
}  // namespace tessik
