#include "view/statistics_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGraphicsTextItem>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "record/record_source.h"
#include "stats/head_to_head.h"
#include "stats/history.h"
#include "stats/summary_text.h"
#include "stats/utc_time.h"
#include "support/record_pgn.h"
#include "support/records.h"
#include "support/stats_run.h"
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

// Picks path in the next file dialog once it shows, and clicks Save (the name is not typed: the
// completion list it opens would take the click); a dialog that stays open after that is
// cancelled, so that a test that fails ends.
void AnswerFileDialog(const QString& path) {
  auto* look = new QTimer;
  QObject::connect(look, &QTimer::timeout, [look, path] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    look->stop();
    look->deleteLater();
    dialog->selectFile(path);
    QPushButton* save = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
    QTest::mouseClick(save, Qt::LeftButton);
    if (dialog->isVisible()) dialog->reject();
  });
  look->start(10);
}

// A tooltip as the user reads it: Qt shows one that looks like markup as markup.
QString Shown(const QString& toolTip) {
  if (!Qt::mightBeRichText(toolTip)) return toolTip;
  QTextDocument document;
  document.setHtml(toolTip);
  return document.toPlainText();
}

// The curves of a chart by name, each as its heights (the ratings, the scores).
std::map<QString, QList<qreal>> Curves(QChart* chart) {
  std::map<QString, QList<qreal>> curves;
  for (QAbstractSeries* series : chart->series()) {
    if (auto* line = qobject_cast<QLineSeries*>(series)) {
      for (QPointF p : line->points()) curves[line->name()] << p.y();
    }
  }
  return curves;
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
  TempDirectory directory;
  RecordSource source{LogPlace{directory.path(), "ann", (directory / "ann.sqlite").string()}};
  StatisticsView view{source};
};

// A name is text, never markup: in the title, the legend and a point's hover text a picture it
// names is not loaded, and the view keeps its size.
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
  EXPECT_TRUE(view.headToHead()->findChild<QLabel*>("title")->text().contains(name));
  EXPECT_LT(view.headToHead()->findChild<QLabel*>("title")->sizeHint().width(), 1000);
  QStringList legend;
  for (QGraphicsItem* item : view.ratingHistory()->findChild<QChartView*>()->scene()->items()) {
    if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) legend << text->toPlainText();
  }
  EXPECT_TRUE(legend.contains("Games against " + name)) << legend.join('|').toStdString();
  EXPECT_LT(view.width(), 1000);
  RatingHistoryTab* tab = view.ratingHistory();
  auto* curve = qobject_cast<QXYSeries*>(tab->chart()->series().front());
  QTest::mouseMove(tab->chartView()->viewport(),
                   tab->chartView()->mapFromScene(
                       tab->chart()->mapToScene(tab->chart()->mapToPosition(curve->at(0), curve))));
  EXPECT_EQ(Shown(tab->chart()->toolTip()), QString::fromStdString(DateText(kNow - 10 * kDay)) +
                                                " against " + name + ": won\nrating 1500");
  view.tabs()->setCurrentWidget(view.opponents());
  EXPECT_EQ(view.opponents()->table()->model()->index(0, 0).data(), name);
}

// The charts take the desktop's palette, and a desktop turned dark while the view is open turns
// them dark too.
TEST_F(StatisticsViewTest, TheChartsFollowTheDesktopPalette) {
  WriteLog(KnownGames());
  Open("bob");
  const QPalette light = QApplication::palette();
  // The themes of the two charts, each tab turned to; the one shown redrawn first.
  const auto themes = [this](QChart::ChartTheme redrawn) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.ratingHistory()->chart()->theme() == redrawn; }));
    std::vector<QChart::ChartTheme> drawn;
    for (StatsPage* tab :
         std::initializer_list<StatsPage*>{view.activity(), view.ratingHistory()}) {
      view.tabs()->setCurrentWidget(tab);
      drawn.push_back(tab->findChild<QChartView*>()->chart()->theme());
    }
    return drawn;
  };
  view.tabs()->setCurrentWidget(view.ratingHistory());
  EXPECT_EQ(themes(QChart::ChartThemeLight), std::vector(2, QChart::ChartThemeLight));
  QApplication::setPalette(QPalette(QColor(40, 40, 48)));
  EXPECT_EQ(themes(QChart::ChartThemeDark), std::vector(2, QChart::ChartThemeDark));
  QApplication::setPalette(light);
  EXPECT_EQ(themes(QChart::ChartThemeLight), std::vector(2, QChart::ChartThemeLight));
}

// Every control of every tab is reached with Tab from the one before, and has a name a screen
// reader says.
TEST_F(StatisticsViewTest, EveryControlIsReachedWithTheKeyboardAndNamed) {
  WriteLog(KnownGames());
  Open("bob");
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  for (int tab = 0; tab < view.tabs()->count(); ++tab) {
    view.tabs()->setCurrentIndex(tab);
    QCoreApplication::processEvents();
    SCOPED_TRACE(view.tabs()->tabText(tab).toStdString());
    std::set<QWidget*> reached;
    for (int press = 0; press < 60; ++press) {
      reached.insert(QApplication::focusWidget());
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (QWidget* control : view.findChildren<QWidget*>()) {
      if (!control->isVisible() || !control->isEnabled() ||
          (control->focusPolicy() & Qt::TabFocus) == 0 || control->focusProxy() != nullptr)
        continue;
      const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
      EXPECT_FALSE(name.isEmpty()) << control->metaObject()->className();
      EXPECT_TRUE(reached.contains(control)) << name.toStdString();
    }
  }
}

// The rating history offers quill's pools with a rating, each with its count, and draws the
// largest; each pool picked with the keys is drawn with the ratings `tessik-stats history` gives.
// All picked, the games against the player are marked on the curves, no two series of one
// colour. A rectangle dragged zooms in, a double click back out.
TEST(RatingHistoryTest, DrawsThePoolsPickedWithTheRatingsOfTessikStats) {
  TempDirectory dir;
  ImportRecord(dir);
  RecordSource source{LogPlace{dir.path(), "quill", (dir / "data/tessik/quill.sqlite").string()}};
  StatisticsView view{source};
  view.ShowFor("kenzy34");
  view.tabs()->setCurrentWidget(view.ratingHistory());
  QCoreApplication::processEvents();
  // Each pool's ratings, oldest first: no two games of a pool of quill's are of one week.
  std::map<QString, QList<qreal>> ratings;
  for (const auto& week :
       nlohmann::json::parse(Stats(dir, "--user quill history --json --by week").out)) {
    for (const auto& [pool, rating] : week["last_ratings"].items()) {
      ratings[QString::fromStdString(pool)] << rating.get<int>();
    }
  }
  RatingHistoryTab* tab = view.ratingHistory();
  QListWidget* pools = tab->pools();
  auto largest = ratings.begin();
  for (auto pool = ratings.begin(); pool != ratings.end(); ++pool) {
    const int row = static_cast<int>(std::distance(ratings.begin(), pool));
    EXPECT_EQ(pools->item(row)->text(),
              pool->first + " (" + QString::fromStdString(GamesText(pool->second.size())) + ")");
    if (pool->second.size() > largest->second.size()) largest = pool;
  }
  EXPECT_EQ(pools->count(), ratings.size());
  EXPECT_EQ(Curves(tab->chart()), (std::map{*largest}));
  QTest::keyClick(pools, Qt::Key_Home);
  for (const auto& pool : ratings) {
    EXPECT_EQ(Curves(tab->chart()), (std::map{pool}));
    QTest::keyClick(pools, Qt::Key_Down);
  }
  QTest::keyClick(pools, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Curves(tab->chart()), ratings);
  std::set<QRgb> colours;
  QList<QPointF> marks, onCurves;
  for (QAbstractSeries* series : tab->chart()->series()) {
    auto* xy = qobject_cast<QXYSeries*>(series);
    colours.insert(xy->color().rgb());
    (qobject_cast<QScatterSeries*>(series) ? marks : onCurves) << xy->points();
  }
  EXPECT_EQ(colours.size(), size_t(tab->chart()->series().size()));
  EXPECT_EQ(size_t(marks.size()), HeadToHeadRecord(source.Games(), "kenzy34").games.size());
  for (QPointF mark : marks) EXPECT_TRUE(onCurves.contains(mark)) << mark.x();
  QWidget* area = tab->chartView()->viewport();
  const QPoint centre = area->rect().center();
  QTest::mousePress(area, Qt::LeftButton, {}, centre - QPoint(80, 80));
  QTest::mouseMove(area, centre);
  QTest::mouseRelease(area, Qt::LeftButton, {}, centre);
  EXPECT_TRUE(tab->chart()->isZoomed());
  QTest::mouseDClick(area, Qt::LeftButton, {}, centre);
  EXPECT_FALSE(tab->chart()->isZoomed());
}

// The activity has a bar for every month, months without games too, and the score of each month
// that has games.
TEST_F(StatisticsViewTest, TheActivityHasEveryMonthAndTheScoreOfEach) {
  const std::vector<GameRecord> games = KnownGames();
  WriteLog(games);
  Open("bob");
  view.tabs()->setCurrentWidget(view.activity());
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
  EXPECT_EQ(Curves(view.activity()->chart()).at("Score %"), scores);
  const auto labels = [this] {
    return qobject_cast<QCategoryAxis*>(view.activity()->chart()->axes(Qt::Horizontal).front())
        ->categoriesLabels();
  };
  QStringList named;
  for (const HistoryRow& month : months) named << QString::fromStdString(month.period);
  EXPECT_EQ(labels(), named);

  // Over more than two years, the axis names the years: each month would be too narrow to read.
  std::vector<GameRecord> years = {RatedGame("bob", kUserWon, 3), RatedGame("bob", kDraw, 3)};
  years[0].startTime = 1683720000;  // 2023-05-10
  years[1].startTime = 1770724800;  // 2026-02-10
  WriteLog(years);
  EXPECT_TRUE(QTest::qWaitFor([&] { return labels().size() == 4; }, 5000));
  EXPECT_EQ(labels(), QStringList({"2023", "2024", "2025", "2026"}));
  // Each of those two months stands alone: its score is a point to see, not a line of none.
  for (QAbstractSeries* series : view.activity()->chart()->series()) {
    if (auto* score = qobject_cast<QLineSeries*>(series)) {
      EXPECT_TRUE(score->pointsVisible());
    }
  }
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
  view.tabs()->setCurrentWidget(view.ratingHistory());
  const QList<qreal> blitz = Curves(view.ratingHistory()->chart())["kesh blitz"];
  const int width = view.ratingHistory()->findChild<QChartView*>()->width();
  EXPECT_LE(blitz.size(), std::max(400, width));
  EXPECT_GE(blitz.size(), 200);
  const auto [low, high] = std::minmax_element(blitz.begin(), blitz.end());
  EXPECT_EQ(std::pair(*low, *high), std::pair(900.0, 2300.0));
}

// Without a record, without games, without a player named or without a rating stored, each tab
// says so in words.
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
  WriteLog({Game("bob", kDraw, 3, 400, 0, 0)});
  Open("");
  EXPECT_TRUE(view.headToHead()->Message().startsWith("Pick a player"));
  view.tabs()->setCurrentWidget(view.ratingHistory());
  EXPECT_EQ(view.ratingHistory()->Message(), "No games with your rating stored yet.");
  view.tabs()->setCurrentWidget(view.activity());
  EXPECT_EQ(view.activity()->Message(), QString());
}

// File > Save picture… (Ctrl+S) writes the chart of the tab shown, as SVG or PNG by the name
// typed into the file dialog; a tab without a chart has no picture to save.
TEST_F(StatisticsViewTest, SavesTheChartShownAsAPicture) {
  WriteLog(KnownGames());
  Open("bob");
  view.tabs()->setCurrentWidget(view.activity());
  const std::pair<const char*, const char*> kPictures[] = {{"month.png", "\x89PNG"},
                                                           {"month.svg", "<?xml"}};
  for (const auto& [name, start] : kPictures) {
    const QString path = QString::fromStdString(directory / name);
    AnswerFileDialog(path);
    view.activateWindow();  // back from the last dialog: its shortcuts work once it has the keys
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::keyClick(&view, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(ReadFile(directory / name).starts_with(start)) << name;
  }
  view.tabs()->setCurrentWidget(view.headToHead());
  EXPECT_FALSE(view.menuBar()->actions().front()->menu()->actions().front()->isEnabled());
}

// Games added to the log or the database while the view is open show in it within a look or
// two, and the reader keeps their place: the tab, the search and the row they were on.
TEST_F(StatisticsViewTest, FollowsTheRecordWhileOpenKeepingTheReadersPlace) {
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

  view.tabs()->setCurrentWidget(view.opponents());
  QTest::keyClicks(view.opponents()->search(), "a");  // Carl and dave
  QTableView* table = view.opponents()->table();
  const auto cell = [table](int row, int column) {
    return table->model()->index(row, column).data().toString();
  };
  const auto carl = table->model()->match(table->model()->index(0, OpponentsTab::kOpponent),
                                          Qt::DisplayRole, "Carl");
  ASSERT_EQ(carl.size(), 1);
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(carl[0]).center());
  WriteFile(directory / "carl.pgn",
            "[Event \"Casual\"]\n[White \"ann\"]\n[Black \"Carl\"]\n[Result "
            "\"1-0\"]\n[Date \"2026.12.01\"]\n\n1. e4 1-0\n");
  ASSERT_EQ(Stats(directory, "--user ann --db ann.sqlite import carl.pgn").status, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return table->model()->rowCount() == 3; }, 5000));
  const int row = table->currentIndex().row();
  EXPECT_EQ(cell(row, OpponentsTab::kOpponent) + " " + cell(row, OpponentsTab::kServer) + " " +
                cell(row, OpponentsTab::kGames),
            "Carl kesh 3");
  EXPECT_EQ(view.tabs()->currentWidget(), view.opponents());
  EXPECT_EQ(view.opponents()->search()->text(), "a");
  // Filtered to the imported game, the row the reader was on is gone, and none is current.
  QTest::keyClicks(view.filterBar()->server(), "pgn");
  ASSERT_EQ(table->model()->rowCount(), 1);
  EXPECT_FALSE(table->currentIndex().isValid())
      << cell(table->currentIndex().row(), 0).toStdString();
}

}  // namespace
}  // namespace tessik
