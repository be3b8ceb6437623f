// tessik-stats summary on one online record (support/record_pgn.h), pool by pool and by the
// time of day, every figure worked out by hand from the record's table.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "support/record_pgn.h"
#include "support/stats_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

class Summary : public ::testing::Test {
 protected:
  void SetUp() override { ImportRecord(dir); }
  Json Run(const std::string& options, const std::string& environment = "") {
    const StatsRun run = Stats(dir, "--user quill summary --json " + options, environment);
    EXPECT_EQ(run.status, 0) << options << ": " << run.err;
    return Json::parse(run.out);
  }
  // The pool named so of a summary in JSON.
  static Json Pool(const Json& summary, const std::string& name) {
    for (const Json& pool : summary["pools"]) {
      if (pool["pool"] == name) return pool;
    }
    ADD_FAILURE() << "no pool " << name;
    return Json();
  }
  TempDirectory dir;
};

// Games 2, 3 and 6; 6 is casual: in the games and the score, not in the ratings, and of unknown
// opponent rating in neither the wins nor the performance.
TEST_F(Summary, APoolInJsonHasEveryFigure) {
  EXPECT_EQ(Pool(Run(""), "lichess blitz"), Json::parse(R"({
    "pool": "lichess blitz", "games": 3, "won": 2, "drawn": 0, "lost": 1, "percentage": 67,
    "peak": {"rating": 1506, "date": "2025-01-05"},
    "lowest": {"rating": 1501, "date": "2025-01-06"},
    "streaks": {"current": {"result": "won", "games": 1}, "longest_won": 1, "longest_lost": 1},
    "best_wins": [{"date": "2025-01-05", "opponent": "Kenzy34", "opponent_rating": 1520,
                   "link": "https://lichess.org/g02"}],
    "worst_losses": [{"date": "2025-01-06", "opponent": "kenzy34", "opponent_rating": 1530,
                      "link": "https://lichess.org/g03"}],
    "months": [{"month": "2025-01", "rating_before": 1500, "rating_after": 1501, "change": 1}],
    "performance_by_year": [{"year": 2025, "performance": {"rating": 1525,
        "average_opponent_rating": 1525, "score_percent": 50, "rating_difference": 0,
        "games": 2}}],
    "usual_clock": {"clock": "180+2", "games": 2},
    "endings": [
      {"ending": "time", "games": 1, "won": 0, "drawn": 0, "lost": 1, "percentage": 0},
      {"ending": "on-the-board", "games": 2, "won": 2, "drawn": 0, "lost": 0, "percentage": 100}]
  })"));
}

TEST_F(Summary, TextGivesAPoolThenTheHoursAndDays) {
  const StatsRun run =
      Stats(dir, "--user quill summary --server lichess --variant standard --class blitz --utc");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "lichess blitz: 3 games, +2 =0 -1 (67%)\n"
            "Peak rating       1506 on 2025-01-05\n"
            "Lowest rating     1501 on 2025-01-06\n"
            "Streak            now 1 won in a row; longest 1 won, 1 lost\n"
            "Usual clock       180+2, 2 of 3 games\n"
            "Performance 2025  1525 (average opponent 1525, 50%: +0, from only 2 games)\n"
            "\n"
            "              Rating  Date        Opponent\n"
            "Best wins       1520  2025-01-05  Kenzy34\n"
            "                                  https://lichess.org/g02\n"
            "Worst losses    1530  2025-01-06  kenzy34\n"
            "                                  https://lichess.org/g03\n"
            "\n"
            "Month    Before  After  Change\n"
            "2025-01    1500   1501      +1\n"
            "\n"
            "Ended by      Games  +  =  -  Score\n"
            "time              1  0  0  1     0%\n"
            "on-the-board      2  2  0  0   100%\n"
            "\n"
            "By the hour and the day the games began, UTC:\n"
            "Hour  Games  +  =  -  Score\n"
            "10        1  1  0  0   100%\n"
            "14        1  1  0  0   100%\n"
            "20        1  0  0  1     0%\n"
            "\n"
            "Day     Games  +  =  -  Score\n"
            "Monday      1  0  0  1     0%\n"
            "Sunday      2  2  0  0   100%\n"
            "\n"
            "Counted: the database " +
                (dir / "data/tessik/quill.sqlite").string() + " (lichess)\n");
}

// chess.com gives no rating change: a month ends at the rating its last game was played at.
TEST_F(Summary, MonthsGiveTheRatingWonOrLost) {
  const Json summary = Run("");
  const struct {
    const char* pool;
    Json months;  // month, before, after, change
  } kCases[] = {
      {"lichess rapid", {{"2025-01", 1650, 1662, 12}}},
      {"lichess chess960", {{"2025-02", 1600, 1593, -7}}},
      {"chesscom rapid", {{"2025-03", 1215, 1215, 0}}},
      {"pgn classical", {{"2024-12", 1800, 1800, 0}}},
  };
  for (const auto& c : kCases) {
    const Json pool = Pool(summary, c.pool);
    Json months = Json::array();
    for (const Json& m : pool["months"]) {
      months.push_back({m["month"], m["rating_before"], m["rating_after"], m["change"]});
    }
    EXPECT_EQ(months, c.months) << c.pool;
  }
}

// Won all (+800), lost all (-800), drawn; none without a known opponent rating.
TEST_F(Summary, PerformanceEachYear) {
  const Json summary = Run("");
  const struct {
    const char* pool;
    Json years;  // year, rating or null
  } kCases[] = {
      {"chesscom daily", {{2025, 2100}}},
      {"lichess chess960", {{2025, 780}}},
      {"lichess correspondence", {{2025, 1650}}},
      {"pgn classical", {{2024, nullptr}}},
  };
  for (const auto& c : kCases) {
    const Json pool = Pool(summary, c.pool);
    Json years = Json::array();
    for (const Json& y : pool["performance_by_year"]) {
      years.push_back(
          {y["year"], y["performance"].is_null() ? Json() : y["performance"]["rating"]});
    }
    EXPECT_EQ(years, c.years) << c.pool;
  }
  const std::string text = Stats(dir, "--user quill summary --server pgn").out;
  EXPECT_NE(text.find("\nPerformance 2024  unknown: no opponent's rating known\n"),
            std::string::npos)
      << text;
}

TEST_F(Summary, UsualClockAndEndings) {
  const Json summary = Run("");
  const struct {
    const char* pool;
    Json clock;  // null: no game with a clock
    std::vector<std::pair<std::string, int>> endings;
  } kCases[] = {
      {"chesscom daily", "1d", {{"checkmate", 1}}},
      {"chesscom blitz", "180+2", {{"resignation", 1}}},
      {"lichess correspondence", nullptr, {{"on-the-board", 1}}},
      {"pgn classical", "5400+30", {{"unknown", 1}}},
  };
  for (const auto& c : kCases) {
    const Json pool = Pool(summary, c.pool);
    EXPECT_EQ(pool["usual_clock"].is_null() ? Json() : pool["usual_clock"]["clock"], c.clock)
        << c.pool;
    std::vector<std::pair<std::string, int>> endings;
    for (const Json& e : pool["endings"]) endings.emplace_back(e["ending"], e["games"]);
    EXPECT_EQ(endings, c.endings) << c.pool;
  }
}

// Game 3, at 20:30 UTC on a Monday, is at 02:00 on Tuesday in India (+5:30).
TEST_F(Summary, HoursAndDaysInUtcOrTheLocalZone) {
  const struct {
    const char *options, *environment;
    Json hours;     // hour, games, won, drawn, lost
    Json weekdays;  // day, games, won, drawn, lost
  } kCases[] = {
      {"--utc",
       "TZ=Asia/Kolkata",
       {{8, 1, 1, 0, 0},
        {9, 1, 1, 0, 0},
        {10, 1, 1, 0, 0},
        {11, 1, 0, 1, 0},
        {12, 1, 1, 0, 0},
        {14, 1, 1, 0, 0},
        {16, 1, 0, 0, 1},
        {18, 1, 1, 0, 0},
        {19, 1, 0, 0, 1},
        {20, 1, 0, 0, 1}},
       {{"Monday", 4, 1, 1, 2},
        {"Friday", 2, 2, 0, 0},
        {"Saturday", 2, 1, 0, 1},
        {"Sunday", 2, 2, 0, 0}}},
      {"",
       "TZ=Asia/Kolkata",
       {{0, 1, 0, 0, 1},
        {2, 1, 0, 0, 1},
        {13, 1, 1, 0, 0},
        {14, 1, 1, 0, 0},
        {15, 1, 1, 0, 0},
        {16, 1, 0, 1, 0},
        {17, 1, 1, 0, 0},
        {19, 1, 1, 0, 0},
        {21, 1, 0, 0, 1},
        {23, 1, 1, 0, 0}},
       {{"Monday", 3, 1, 1, 1},
        {"Tuesday", 1, 0, 0, 1},
        {"Friday", 2, 2, 0, 0},
        {"Saturday", 1, 1, 0, 0},
        {"Sunday", 3, 2, 0, 1}}},
      {"--class rapid",
       "",
       {{9, 1, 1, 0, 0}, {19, 1, 0, 0, 1}},
       {{"Monday", 1, 1, 0, 0}, {"Saturday", 1, 0, 0, 1}}},
  };
  for (const auto& c : kCases) {
    const Json summary = Run(c.options, c.environment);
    Json hours = Json::array(), weekdays = Json::array();
    for (const Json& h : summary["by_hour"]) {
      hours.push_back({h["hour"], h["games"], h["won"], h["drawn"], h["lost"]});
    }
    for (const Json& d : summary["by_weekday"]) {
      weekdays.push_back({d["weekday"], d["games"], d["won"], d["drawn"], d["lost"]});
    }
    EXPECT_EQ(hours, c.hours) << c.options << " " << c.environment;
    EXPECT_EQ(weekdays, c.weekdays) << c.options << " " << c.environment;
  }
}

TEST_F(Summary, AFilterKeepsItsPoolsAndNoneLeavesAnEmptySummary) {
  const Json rapid = Run("--class rapid");
  Json pools = Json::array();
  for (const Json& pool : rapid["pools"]) pools.push_back(pool["pool"]);
  EXPECT_EQ(pools, Json({"chesscom rapid", "lichess rapid"}));

  EXPECT_EQ(Run("--since 2026"), Json::parse(R"({"pools": [], "by_hour": [], "by_weekday": []})"));
  const StatsRun run = Stats(dir, "--user quill summary --since 2026");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("No game to summarise.\n", 0), 0u) << run.out;
}

// Six blitz games of one month, quill white in each: the three best of four wins of known
// rating, a peak and a low each reached twice, three clocks played twice each, and a
// performance of more than a few games.
TEST(SummaryEdges, TiesAndTheThreeBestWins) {
  TempDirectory dir;
  const struct {
    const char *day, *rating, *opponentRating, *change, *clock, *result;
    bool rated;
  } kGames[] = {
      {"01", "1500", "1600", "+10", "180", "1-0", true},  // 1510 after
      {"02", "1510", "1700", "+10", "600", "1-0", true},  // 1520
      {"03", "1520", "1650", "-10", "180", "0-1", true},  // 1510
      {"04", "1510", "1800", "+10", "600", "1-0", true},  // 1520
      {"05", "1520", "1400", "+0", "300", "1-0", true},   // 1520
      {"06", "1520", "1300", "", "300", "0-1", false},
  };
  std::string pgn;
  for (const auto& g : kGames) {
    pgn += std::string("[Event \"") + (g.rated ? "Rated" : "Casual") +
           " Blitz game\"]\n[Site \"https://lichess.org/x" + g.day +
           "\"]\n[White \"quill\"]\n[Black \"Rook" + g.day + "\"]\n[UTCDate \"2025.04." + g.day +
           "\"]\n[UTCTime \"10:00:00\"]\n[WhiteElo \"" + g.rating + "\"]\n[BlackElo \"" +
           g.opponentRating + "\"]\n" +
           (g.rated ? std::string("[WhiteRatingDiff \"") + g.change + "\"]\n" : "") +
           "[Variant \"Standard\"]\n[TimeControl \"" + g.clock +
           "\"]\n[Termination \"Normal\"]\n[Result \"" + g.result + "\"]\n\n1. e4 " + g.result +
           "\n\n";
  }
  std::ofstream(dir / "edges.pgn") << pgn;
  ASSERT_EQ(Stats(dir, "--user quill import edges.pgn --player quill").status, 0);
  const StatsRun run = Stats(dir, "--user quill summary --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const Json pool = Json::parse(run.out)["pools"][0];
  Json best = Json::array(), worst = Json::array();
  for (const Json& game : pool["best_wins"]) best.push_back(game["opponent_rating"]);
  for (const Json& game : pool["worst_losses"]) worst.push_back(game["opponent_rating"]);
  EXPECT_EQ(best, Json({1800, 1700, 1600}));
  EXPECT_EQ(worst, Json({1300, 1650}));  // the casual game's loss too
  EXPECT_EQ(pool["peak"], Json({{"rating", 1520}, {"date", "2025-04-02"}}));
  EXPECT_EQ(pool["lowest"], Json({{"rating", 1510}, {"date", "2025-04-01"}}));
  EXPECT_EQ(pool["usual_clock"], Json({{"clock", "300"}, {"games", 2}}));  // the last played
  // (1600 + 1700 + 1650 + 1800 + 1400 + 1300) / 6 = 1575; 4 of 6, 67%: +125.
  const std::string text = Stats(dir, "--user quill summary").out;
  EXPECT_NE(text.find("\nPerformance 2025  1700 (average opponent 1575, 67%: +125)\n"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace tessik
