// The head-to-head tab on quill's record (support/record_pgn.h), with filters chosen in the
// filter bar by keyboard: its table, summary and copied score lines hold what tessik-stats score
// --json gives with the same options.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <nlohmann/json.hpp>

#include "record/record_source.h"
#include "support/record_pgn.h"
#include "support/stats_run.h"
#include "view/statistics_view.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

// Moves box to the entry named text with the keyboard, as a user does.
void Pick(QComboBox* box, const QString& text) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home);
  for (int i = 0; i < box->count() && box->currentText() != text; ++i) {
    QTest::keyClick(box, Qt::Key_Down);
  }
  ASSERT_EQ(box->currentText(), text);
}

// Sets edit to date with the keyboard: the year by the arrow keys (a year is not typed a digit
// at a time), then the month and the day typed.
void TypeDate(QDateEdit* edit, const QString& date) {
  const QDate wanted = QDate::fromString(date, Qt::ISODate);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Home);
  for (int i = 0; i < 100 && edit->date().year() != wanted.year(); ++i) {
    QTest::keyClick(edit, edit->date().year() < wanted.year() ? Qt::Key_Up : Qt::Key_Down);
  }
  QTest::keyClicks(edit, date.mid(4));  // "-MM-DD"
  ASSERT_EQ(edit->date(), wanted);
}

// A row of the table as numbers: games, won, drawn, lost, score, expected, difference.
std::vector<double> Numbers(const QStandardItemModel* table, int row) {
  std::vector<double> numbers;
  for (int column = HeadToHeadTab::Games; column <= HeadToHeadTab::Difference; ++column) {
    numbers.push_back(table->index(row, column).data(Qt::UserRole).toDouble());
  }
  return numbers;
}

struct Case {
  const char* opponent;
  std::vector<std::pair<const char*, const char*>> picks;  // a choice of the bar, its entry
  const char* from = nullptr;                              // with "Dates…": the range
  const char* to = nullptr;
};

TEST(HeadToHeadTab, TheTableHoldsTessikStatsNumbersThroughEveryFilter) {
  TempDirectory dir;
  ImportRecord(dir);
  RecordSource source({dir.path(), "quill", (dir / "data/tessik/quill.sqlite").string()});
  StatisticsView view(source);
  const Case kCases[] = {
      {"kenzy34", {}},
      {"KENZY34", {{"kind", "Blitz"}}},
      {"Marta", {{"colour", "Black"}}},
      {"kenzy34", {{"server", "lichess"}, {"rated", "Rated"}}},
      {"Kenzy34", {{"period", "Dates\u2026"}}, "2025-01-01", "2025-01-31"},
  };
  for (const Case& c : kCases) {
    FilterBar* bar = view.filterBar();
    for (QComboBox* box :
         {bar->period(), bar->server(), bar->kind(), bar->colour(), bar->rated()}) {
      Pick(box, box->itemText(0));  // every game
    }
    const std::map<std::string, QComboBox*> choices = {{"period", bar->period()},
                                                       {"server", bar->server()},
                                                       {"kind", bar->kind()},
                                                       {"colour", bar->colour()},
                                                       {"rated", bar->rated()}};
    for (const auto& [choice, entry] : c.picks) Pick(choices.at(choice), QString::fromUtf8(entry));
    if (c.from != nullptr) {
      TypeDate(bar->from(), c.from);
      TypeDate(bar->to(), c.to);
    }
    view.ShowFor(c.opponent);
    const std::string options = bar->OptionsText().toStdString();
    const StatsRun run =
        Stats(dir, "--user quill score " + std::string(c.opponent) + " --json " + options);
    ASSERT_EQ(run.status, 0) << run.err;
    const Json json = Json::parse(run.out);
    const QStandardItemModel* table = view.headToHead()->table();
    const std::string what = std::string(c.opponent) + " " + options;
    ASSERT_EQ(static_cast<size_t>(table->rowCount()), json["splits"].size()) << what;
    for (int row = 0; row < table->rowCount(); ++row) {
      const Json& split = json["splits"][static_cast<size_t>(row)];
      const Json& e = split["expectation"];
      const double known = e["games"].get<int>() > 0 ? 1 : 0;  // else no expectation shown
      EXPECT_EQ(Numbers(table, row),
                (std::vector<double>{
                    split["games"], split["won"], split["drawn"], split["lost"],
                    split["percentage"], known * e["expected_points"].get<double>(),
                    known * (e["points"].get<double>() - e["expected_points"].get<double>())}))
          << what << " row " << row;
    }
    EXPECT_EQ(table->index(0, HeadToHeadTab::Performance).data(Qt::UserRole),
              json["performance"].is_null() ? QVariant()
                                            : QVariant(json["performance"]["rating"].get<int>()))
        << what;
    EXPECT_EQ(table->index(0, HeadToHeadTab::Last).data().toString().toStdString(),
              json["last_game"]["date"].get<std::string>())
        << what;
    std::string marks, lastTen;  // the strip's last ten results, oldest first
    for (const QLabel* mark : view.headToHead()->findChildren<QLabel*>("mark")) {
      marks += mark->text().toStdString();
    }
    for (const Json& game : json["last_ten"]) {
      lastTen += game["result"] == "won" ? '+' : game["result"] == "drawn" ? '=' : '-';
    }
    EXPECT_TRUE(marks.ends_with(lastTen)) << what << ": " << marks;
    QTest::mouseClick(view.headToHead()->copyButton(), Qt::LeftButton);
    std::string lines;
    for (const Json& line : json["lines"]) lines += line.get<std::string>() + "\n";
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), lines) << what;
  }
}

}  // namespace
}  // namespace tessik
