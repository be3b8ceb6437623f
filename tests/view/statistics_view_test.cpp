#include "view/statistics_view.h"

#include <gtest/gtest.h>

#include <QGraphicsTextItem>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>
#include <ctime>
#include <filesystem>

#include "record/record_source.h"
#include "stats/head_to_head.h"
#include "stats/history.h"
#include "stats/summary_text.h"
#include "support/records.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

constexpr int64_t kDay = 24 * 60 * 60;
const int64_t kNow = std::time(nullptr);

GameRecord Game(const std::string& opponent, int8_t result, int minutes, int64_t daysAgo,
                int userRating, int opponentRating) {
  GameRecord game =
      RatedGame(opponent, result, minutes, 0, userRating, opponentRating, daysAgo % 2 == 0);
  game.startTime = static_cast<int32_t>(kNow - daysAgo * kDay);
  return game;
}

// ann's games: 25 blitz games against bob some eight months ago, three standard games against
// Carl in the last 90 days, an unrated blitz game of no ratings against dave ten days ago.
std::vector<GameRecord> KnownGames() {
  std::vector<GameRecord> games;
  const int8_t results[] = {kUserWon, kDraw, kUserLost, kUserWon, kUserWon};
  for (int i = 0; i < 25; ++i)
    games.push_back(Game("bob", results[i % 5], 3, 250 - i, 1500 + i, 1600));
  for (int i = 0; i < 3; ++i) games.push_back(Game("Carl", kDraw, 15, 60 - i, 1700 + 5 * i, 1650));
  games.push_back(Game("dave", kUserLost, 3, 10, 0, 0));
  return games;
}

// A tooltip as the user reads it: Qt shows one that looks like markup as markup.
QString Shown(const QString& toolTip) {
  if (!Qt::mightBeRichText(toolTip)) return toolTip;
  QTextDocument document;
  document.setHtml(toolTip);
  return document.toPlainText();
}

QStringList Texts(const std::vector<std::string>& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << QString::fromStdString(line);
  return texts;
}

// ann's record in a folder of the test's: the plug-in's log there, and a database that is not
// there until a test makes it.
class StatisticsViewTest : public ::testing::Test {
 protected:
  void WriteLog(const std::vector<GameRecord>& games) {
    WriteFile(directory / "tessik/ann.glg", EncodeGameLog(LogOf(games)));
  }
  // The view opened on opponent, as the plug-in's Statistics… opens it.
  StatisticsView& Open(const std::string& opponent) {
    view.ShowFor(opponent);
    return view;
  }
  // The series of a chart by name, each as its points.
  static std::map<QString, QList<QPointF>> Curves(QChart* chart) {
    std::map<QString, QList<QPointF>> curves;
    for (QAbstractSeries* series : chart->series()) {
      if (auto* xy = qobject_cast<QXYSeries*>(series)) curves[xy->name()] = xy->points();
    }
    return curves;
  }

  TempDirectory directory;
  RecordSource source{LogPlace{directory.path(), "ann", (directory / "ann.sqlite").string()}};
  StatisticsView view{source};
};

// The head-to-head tab shows what the core computes for the player named (in any letter case):
// the score lines, the summary, and the last twenty results with their games on hover.
TEST_F(StatisticsViewTest, HeadToHeadShowsTheCoresRecordOfTheNamedPlayer) {
  const std::vector<GameRecord> games = KnownGames();
  WriteLog(games);
  const std::pair<const char*, const char*> kCases[] = {
      {"bob", "bob"}, {"carl", "Carl"}, {"dave", "dave"}};  // named, as the games name them
  for (const auto& [typed, opponent] : kCases) {
    Open(typed);
    const HeadToHead record = HeadToHeadRecord(GamesOfLog(LogOf(games)), opponent);
    EXPECT_EQ(view.headToHead()->Message(), QString()) << typed;
    EXPECT_EQ(view.headToHead()->findChild<QLabel*>("scoreLines")->text(),
              Texts(record.lines).join('\n'))
        << typed;
    for (const auto& [label, text] : SummaryRows(record)) {
      auto* shown = view.headToHead()->findChild<QLabel*>(QString::fromStdString(label));
      ASSERT_NE(shown, nullptr) << typed << " " << label;
      EXPECT_EQ(shown->text().toStdString(), text) << typed;
    }
    EXPECT_EQ(view.headToHead()->findChild<QLabel*>("Performance") != nullptr,
              record.performance.has_value())
        << typed;
    const QList<QLabel*> marks = view.headToHead()->findChildren<QLabel*>("mark");
    const size_t shown = std::min<size_t>(HeadToHeadTab::kMarks, record.games.size());
    ASSERT_EQ(static_cast<size_t>(marks.size()), shown) << typed;
    for (size_t i = 0; i < shown; ++i) {  // the last ones, oldest first
      const PlayedGame& game = record.games[record.games.size() - shown + i];
      EXPECT_EQ(marks[static_cast<qsizetype>(i)]->text(), QString(QLatin1Char(game.result)));
      EXPECT_TRUE(Shown(marks[static_cast<qsizetype>(i)]->toolTip())
                      .startsWith(QString::fromStdString(GameText(game)) + "\nann " +
                                  (game.userRating > 0 ? QString::number(game.userRating) : "?")))
          << typed << i;
    }
  }
}

// A name is text, never markup: in the score lines and the legend a picture it names is not
// loaded, and the view keeps its size.
TEST_F(StatisticsViewTest, ANameIsShownAsTextNeverAsMarkup) {
  const QString name = "<img src=a.png>";
  QImage wide(4000, 40, QImage::Format_RGB32);
  wide.fill(Qt::red);
  ASSERT_TRUE(wide.save(QString::fromStdString(directory / "a.png")));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());  // where a relative picture is looked for
  WriteLog({Game(name.toStdString(), kUserWon, 3, 10, 1500, 1600)});
  Open(name.toStdString());
  view.tabs()->setCurrentWidget(view.ratingHistory());  // the legend is laid out when shown
  QCoreApplication::processEvents();
  std::filesystem::current_path(before);
  EXPECT_TRUE(view.headToHead()->findChild<QLabel*>("scoreLines")->text().contains(name));
  EXPECT_LT(view.headToHead()->findChild<QLabel*>("scoreLines")->sizeHint().width(), 1000);
  EXPECT_EQ(view.opponents()->table()->model()->index(0, 0).data(), name);
  QStringList legend;
  for (QGraphicsItem* item : view.ratingHistory()->findChild<QChartView*>()->scene()->items()) {
    if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) legend << text->toPlainText();
  }
  EXPECT_TRUE(legend.contains("Games against " + name)) << legend.join('|').toStdString();
  EXPECT_LT(view.width(), 1000);
}

// The rating history carries a curve per rating type with rated games and marks the games
// against the player, over the range chosen; the activity has a bar for every month, months
// without games too, and the score of each month that has games.
TEST_F(StatisticsViewTest, ChartsCarryTheLogsSeriesOverTheRangeChosen) {
  const std::vector<GameRecord> games = KnownGames();
  WriteLog(games);
  Open("bob");
  // range, then the points of each curve: blitz, standard, the marks
  const std::tuple<const char*, int, int, int> kRanges[] = {
      {"All", 25, 3, 25}, {"Last year", 25, 3, 25}, {"Last 90 days", 0, 3, 0}};
  for (const auto& [range, blitz, standard, marks] : kRanges) {
    view.ratingHistory()->range()->setCurrentText(range);
    std::map<QString, qsizetype> counts;  // no curve for a type without games in the range
    for (const auto& [name, points] : Curves(view.ratingHistory()->chart())) {
      counts[name] = points.size();
    }
    std::map<QString, qsizetype> expected;
    for (const auto& [name, count] :
         {std::pair("blitz", blitz), {"standard", standard}, {"Games against bob", marks}}) {
      if (count > 0) expected[name] = count;
    }
    EXPECT_EQ(counts, expected) << range;
  }
  view.ratingHistory()->range()->setCurrentText("All");
  QChart* chart = view.ratingHistory()->chart();
  auto* rating = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).front());
  // The ratings from 1500 to 1710, with a margin rounded to the axis's steps.
  EXPECT_TRUE(rating->min() < 1500 && rating->min() >= 1400 && rating->max() > 1710 &&
              rating->max() <= 1810)
      << rating->min() << " " << rating->max();
  auto* time = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).front());
  EXPECT_EQ(time->min().toSecsSinceEpoch(), kNow - 251 * kDay);
  EXPECT_EQ(time->max().toSecsSinceEpoch(), kNow - 57 * kDay);

  const std::vector<HistoryRow> months = MonthlyActivity(GamesOfLog(LogOf(games)));
  auto* bars = qobject_cast<QBarSeries*>(view.activity()->chart()->series().front());
  ASSERT_EQ(bars->barSets().size(), 1);
  QList<qreal> perMonth, scores;
  for (const HistoryRow& month : months) {
    perMonth << month.counts.Games();
    if (month.counts.Games() > 0) {
      scores << ScorePercentage(month.counts.won, month.counts.drawn, month.counts.lost);
    }
  }
  QList<qreal> shown;
  for (int i = 0; i < bars->barSets()[0]->count(); ++i) shown << bars->barSets()[0]->at(i);
  EXPECT_EQ(shown, perMonth);
  EXPECT_TRUE(perMonth.contains(0.0)) << "the known games leave months without games";
  QList<qreal> line;
  const auto activityCurves = Curves(view.activity()->chart());
  for (QPointF p : activityCurves.at("Score %")) line << p.y();
  EXPECT_EQ(line, scores);
}

// A curve of more games than the chart is wide keeps its peaks and troughs in as many points
// as there are pixels.
TEST_F(StatisticsViewTest, ALongCurveIsThinnedToTheChartsWidthKeepingItsExtremes) {
  std::vector<GameRecord> games;
  for (int i = 0; i < 20000; ++i) {
    const int rating = i == 7777 ? 2300 : i == 12345 ? 900 : 1500 + (i * 37) % 300;
    games.push_back(Game("bob", kUserWon, 3, 2000 - i / 10, rating, 1500));
  }
  WriteLog(games);
  Open("");
  const QList<QPointF> blitz = Curves(view.ratingHistory()->chart())["blitz"];
  const int width = view.ratingHistory()->findChild<QChartView*>()->width();
  EXPECT_LE(blitz.size(), std::max(400, width));
  EXPECT_GE(blitz.size(), 200);
  const auto [low, high] = std::minmax_element(blitz.begin(), blitz.end(),
                                               [](QPointF a, QPointF b) { return a.y() < b.y(); });
  EXPECT_EQ(std::pair(low->y(), high->y()), std::pair(900.0, 2300.0));
}

// Without a record, without games, without a player named or without games in the range, each
// tab says so in words.
TEST_F(StatisticsViewTest, SaysWhyThereIsNothingToShow) {
  Open("");
  for (StatsPage* page : view.findChildren<StatsPage*>()) {
    EXPECT_TRUE(page->Message().startsWith(
        QString::fromStdString("no game log of ann in " + directory.path())))
        << page->Message().toStdString();
  }
  WriteLog({});  // a first login: the log holds its marker alone
  Open("");
  for (StatsPage* page : view.findChildren<StatsPage*>()) {
    EXPECT_TRUE(page->Message().startsWith("No games recorded yet"))
        << page->Message().toStdString();
  }
  WriteLog({Game("bob", kDraw, 3, 400, 1500, 1500)});
  Open("");
  EXPECT_TRUE(view.headToHead()->Message().startsWith("Pick a player"));
  view.ratingHistory()->range()->setCurrentText("Last year");
  EXPECT_EQ(view.ratingHistory()->Message(),
            "No games with your rating stored in the range \"Last year\".");
  EXPECT_EQ(view.activity()->Message(), QString());
}

// A game added to the log while the view is open shows in it within a look or two.
TEST_F(StatisticsViewTest, FollowsTheLogWhileOpen) {
  std::vector<GameRecord> games = KnownGames();
  WriteLog(games);
  Open("bob");
  const auto points = [&] { return view.headToHead()->findChild<QLabel*>("Points")->text(); };
  EXPECT_EQ(points(), "17.5 of 25, expected 9.4 (+8.1)") << points().toStdString();
  games.push_back(Game("bob", kUserWon, 3, 0, 1600, 1600));
  WriteLog(games);
  EXPECT_TRUE(QTest::qWaitFor([&] { return points().startsWith("18.5 of 26"); }, 5000))
      << points().toStdString();
  EXPECT_EQ(view.headToHead()->findChildren<QLabel*>("mark").back()->text(), "+");
}

}  // namespace
}  // namespace tessik
