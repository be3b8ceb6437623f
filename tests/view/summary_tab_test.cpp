// The summary tab on quill's record (support/record_pgn.h): each pool picked with the keyboard
// shows what tessik-stats summary --json gives for it, and the whole record's results by hour
// and weekday are those it gives in the same time zone.
#include <gtest/gtest.h>

#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <ctime>
#include <nlohmann/json.hpp>

#include "record/record_source.h"
#include "store/game_record.h"
#include "support/record_pgn.h"
#include "support/records.h"
#include "support/stats_run.h"
#include "view/statistics_view.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

// A key of tessik-stats' rows, the column that shows it, and whether as text (else the cell's
// Qt::UserRole number).
struct Key {
  const char* name;
  int column;
  bool text = false;
};

// The rows of model hold tessik-stats' rows printed, by keys; an empty text is its null.
void ExpectRows(const QStandardItemModel* model, const Json& printed, const std::vector<Key>& keys,
                const std::string& what) {
  Json shown = Json::array(), expected = Json::array();
  for (int row = 0; row < model->rowCount(); ++row) {
    for (const Key& key : keys) {
      const QModelIndex cell = model->index(row, key.column);
      const std::string text = cell.data().toString().toStdString();
      shown[size_t(row)][key.name] = !key.text      ? Json(cell.data(Qt::UserRole).toInt())
                                     : text.empty() ? Json()
                                                    : Json(text);
    }
  }
  for (size_t row = 0; row < printed.size(); ++row) {
    for (const Key& key : keys) expected[row][key.name] = printed[row][key.name];
  }
  EXPECT_EQ(shown, expected) << what;
}

std::vector<Key> Results(const char* name, bool text) {
  return {{name, SummaryTab::Name, text}, {"games", SummaryTab::Games},
          {"won", SummaryTab::Won},       {"drawn", SummaryTab::Drawn},
          {"lost", SummaryTab::Lost},     {"percentage", SummaryTab::Score}};
}

TEST(SummaryTab, EachPoolPickedShowsTessikStatsSummary) {
  const QByteArray zone = qgetenv("TZ");
  qputenv("TZ", "UTC");  // the hours as tessik-stats gives them below, whatever the machine's
  tzset();
  TempDirectory dir;
  ImportRecord(dir);
  RecordSource source({dir.path(), "quill", (dir / "data/tessik/quill.sqlite").string()});
  StatisticsView view(source);
  view.ShowFor("");
  view.tabs()->setCurrentWidget(view.summary());  // a tab is drawn as it is shown
  const StatsRun run = Stats(dir, "--user quill summary --json", "TZ=UTC");
  ASSERT_EQ(run.status, 0) << run.err;
  const Json json = Json::parse(run.out);
  SummaryTab* tab = view.summary();
  QComboBox* box = tab->pools();
  ASSERT_EQ(static_cast<size_t>(box->count()), json["pools"].size());
  const auto largest = std::max_element(
      json["pools"].begin(), json["pools"].end(),
      [](const Json& a, const Json& b) { return a["games"].get<int>() < b["games"].get<int>(); });
  EXPECT_EQ(box->currentIndex(), largest - json["pools"].begin());
  const std::vector<Key> notableKeys = {{"opponent_rating", SummaryTab::OpponentRating},
                                        {"date", SummaryTab::Date, true},
                                        {"opponent", SummaryTab::Opponent, true},
                                        {"link", SummaryTab::Link, true}};
  QStandardItemModel* notable = tab->notable();
  QTableView* notableTable = nullptr;
  for (QTableView* table : tab->findChildren<QTableView*>()) {
    if (table->model() == notable) notableTable = table;
  }
  ASSERT_NE(notableTable, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home);
  for (const Json& pool : json["pools"]) {
    const std::string name = pool["pool"];
    EXPECT_TRUE(box->currentText().startsWith(QString::fromStdString(name + " ("))) << name;
    EXPECT_EQ(tab->figure("games")->text().toInt(), pool["games"].get<int>()) << name;
    for (const char* rating : {"peak", "lowest"}) {
      const Json& r = pool[rating];
      EXPECT_EQ(
          tab->figure(rating)->text().toStdString(),
          r.is_null() ? "unknown" : r["rating"].dump() + " on " + r["date"].get<std::string>())
          << name;
    }
    Json games = pool["best_wins"];
    games.insert(games.end(), pool["worst_losses"].begin(), pool["worst_losses"].end());
    ExpectRows(notable, games, notableKeys, name);
    const int last = notable->rowCount() - 1;  // every row shown, the tab scrolling, not the table
    EXPECT_LE(notableTable->rowViewportPosition(last) + notableTable->rowHeight(last),
              notableTable->viewport()->height());
    for (int row = 0; row < notable->rowCount(); ++row) {  // each cell whole, links included
      for (int column = 0; column < notable->columnCount(); ++column) {
        const QString text = notable->index(row, column).data().toString();
        EXPECT_GE(notableTable->columnWidth(column),
                  notableTable->fontMetrics().horizontalAdvance(text))
            << name << " " << text.toStdString();
      }
    }
    ExpectRows(tab->months(), pool["months"],
               {{"month", SummaryTab::Month, true},
                {"rating_before", SummaryTab::Before},
                {"rating_after", SummaryTab::After},
                {"change", SummaryTab::Change}},
               name);
    ExpectRows(tab->endings(), pool["endings"], Results("ending", true), name);
    QTest::keyClick(box, Qt::Key_Down);
  }
  // Drawn again (the filter set to white and back), the tab holds each row once.
  view.filterBar()->colour()->setFocus();
  QTest::keyClick(view.filterBar()->colour(), Qt::Key_Down);
  QTest::keyClick(view.filterBar()->colour(), Qt::Key_Up);
  ExpectRows(tab->hours(), json["by_hour"], Results("hour", false), "by hour");
  ExpectRows(tab->weekdays(), json["by_weekday"], Results("weekday", true), "by weekday");
  zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
  tzset();
}

// An opponent's name that looks like markup is shown as it is.
TEST(SummaryTab, ANameIsText) {
  TempDirectory dir;
  WriteFile(dir / "tessik/ann.glg",
            EncodeGameLog(LogOf({RatedGame("<b>x</b>", kUserWon, 3, 0, 1500, 1600)})));
  RecordSource source({dir.path(), "ann", (dir / "ann.sqlite").string()});
  StatisticsView view(source);
  view.ShowFor("");
  view.tabs()->setCurrentWidget(view.summary());  // a tab is drawn as it is shown
  EXPECT_EQ(view.summary()->notable()->index(0, SummaryTab::Opponent).data(), "<b>x</b>");
}

}  // namespace
}  // namespace tessik
