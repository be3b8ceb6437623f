#include "view/opponents_tab.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>
#include <nlohmann/json.hpp>

#include "base/text.h"
#include "record/record_source.h"
#include "support/record_pgn.h"
#include "support/stats_run.h"
#include "view/statistics_view.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

// quill's record as tessik-stats imports it, and the view on it at the opponents.
class OpponentsTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ImportRecord(directory));
    view.ShowFor("");
    view.tabs()->setCurrentWidget(view.opponents());
  }
  Json StatsJson(const std::string& arguments) {
    const StatsRun run = Stats(directory, "--user quill " + arguments + " --json");
    EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
    return Json::parse(run.out);
  }
  QString Text(int row, int column) const { return model()->index(row, column).data().toString(); }
  QAbstractItemModel* model() const { return view.opponents()->table()->model(); }

  TempDirectory directory;
  RecordSource source{
      LogPlace{directory.path(), "quill", (directory / "data/tessik/quill.sqlite").string()}};
  StatisticsView view{source};
};

// Each row holds tessik-stats' figures for its opponent: rank most's counts, rank surprise's
// expectation, score's performance and last game on the row's server; empty where they give none.
TEST_F(OpponentsTabTest, RowsHoldTheFiguresTessikStatsGives) {
  const Json most = StatsJson("rank most --all")["opponents"];
  const Json surprise = StatsJson("rank surprise --min-games 0")["opponents"];
  // column, the report giving it (m: rank most, s: rank surprise, p: score), its field there
  const std::tuple<int, char, const char*> kFigures[] = {
      {OpponentsTab::kGames, 'm', "/games"},
      {OpponentsTab::kWon, 'm', "/won"},
      {OpponentsTab::kDrawn, 'm', "/drawn"},
      {OpponentsTab::kLost, 'm', "/lost"},
      {OpponentsTab::kScore, 'm', "/percentage"},
      {OpponentsTab::kExpected, 's', "/expected_points"},
      {OpponentsTab::kDifference, 's', "/difference"},
      {OpponentsTab::kPerformance, 'p', "/performance/rating"},
      {OpponentsTab::kLastGame, 'p', "/last_game/date"}};
  ASSERT_EQ(static_cast<size_t>(model()->rowCount()), most.size());  // Anonymous left out
  for (const Json& counts : most) {
    const std::string name = counts["opponent"], server = counts["server"];
    int row = 0;
    while (row < model()->rowCount() && (Text(row, 0).toStdString() != name ||
                                         Text(row, OpponentsTab::kServer).toStdString() != server))
      ++row;
    ASSERT_LT(row, model()->rowCount()) << name << " " << server;
    Json expectation;  // none without a game of both ratings known
    for (const Json& s : surprise) {
      if (EqualsNoCase(s["opponent"].get<std::string>(), name) && s["server"] == server)
        expectation = s;
    }
    const Json score = StatsJson("score '" + name + "' --server " + server);
    for (const auto& [column, report, field] : kFigures) {
      const Json& from = report == 'm' ? counts : report == 's' ? expectation : score;
      const Json::json_pointer pointer(field);
      const Json expected = from.contains(pointer) ? from[pointer] : Json();
      const QModelIndex cell = model()->index(row, column);
      const std::string where = name + " " + server + " " + field;
      if (expected.is_string()) {
        EXPECT_EQ(cell.data().toString().toStdString(), expected.get<std::string>()) << where;
      } else if (expected.is_null()) {
        EXPECT_EQ(cell.data().toString(), QString()) << where;
      } else {
        EXPECT_EQ(cell.data(OpponentsTab::kValueRole).toDouble(), expected.get<double>()) << where;
      }
    }
  }
}

// Typing narrows the rows by name in any case; Enter or a double-click on a row opens the record
// against its opponent; a header click sorts by the numbers, the unknown last either way.
TEST_F(OpponentsTabTest, SearchOpenAndSortByInput) {
  QTableView* table = view.opponents()->table();
  QTest::keyClicks(view.opponents()->search(), "mAR");
  ASSERT_EQ(model()->rowCount(), 2);  // Mark and Marta
  for (const bool enter : {true, false}) {
    view.tabs()->setCurrentWidget(view.opponents());
    const int row = enter ? 1 : 0;
    const QString name = Text(row, 0);
    const QPoint at = table->visualRect(model()->index(row, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);  // a double-click's first
    enter ? QTest::keyClick(table, Qt::Key_Return)
          : QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(view.tabs()->currentWidget(), view.headToHead()) << enter;
    EXPECT_TRUE(view.headToHead()->findChild<QLabel*>("title")->text().endsWith(
        " " + name, Qt::CaseInsensitive))
        << name.toStdString();
  }
  view.tabs()->setCurrentWidget(view.opponents());
  QTest::keyClick(view.opponents()->search(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(view.opponents()->search(), Qt::Key_Delete);
  ASSERT_EQ(model()->rowCount(), 5);
  const auto columnText = [&](int column) {
    QStringList texts;
    for (int row = 0; row < model()->rowCount(); ++row) texts << Text(row, column);
    return texts;
  };
  EXPECT_EQ(columnText(OpponentsTab::kGames), QStringList({"4", "2", "1", "1", "1"}));  // at first
  QHeaderView* header = table->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(OpponentsTab::kServer) + 5, 5));
  EXPECT_EQ(columnText(OpponentsTab::kServer),
            QStringList({"chesscom", "chesscom", "lichess", "lichess", "pgn"}));
  for (const int column : {OpponentsTab::kDifference, OpponentsTab::kPerformance}) {
    for (const Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder}) {
      const int middle = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(middle, 5));
      QStringList shown;
      std::vector<double> known;
      for (int row = 0; row < model()->rowCount(); ++row) {
        shown << Text(row, column);
        if (!shown.back().isEmpty()) known.push_back(shown.back().toDouble());
      }
      EXPECT_TRUE(order == Qt::AscendingOrder ? std::is_sorted(known.begin(), known.end())
                                              : std::is_sorted(known.rbegin(), known.rend()))
          << shown.join(' ').toStdString();
      EXPECT_EQ(shown.indexOf(QString()), static_cast<qsizetype>(known.size()))
          << shown.join(' ').toStdString();  // the unknown last
    }
  }
}

}  // namespace
}  // namespace tessik
