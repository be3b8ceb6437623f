// The filters of tessik-stats on one online record (support/record_pgn.h): each filter's games,
// and the history's ratings pool by pool, as worked out by hand from the record's table.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/record_pgn.h"
#include "support/stats_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

class RecordFilters : public ::testing::Test {
 protected:
  void SetUp() override { ImportRecord(dir); }
  // Won, drawn and lost of the whole record through filters, as the years' history adds them.
  std::vector<int> Results(const std::string& filters) {
    const StatsRun run = Stats(dir, "--user quill history --by year --json " + filters);
    EXPECT_EQ(run.status, 0) << filters << ": " << run.err;
    std::vector<int> results(3);
    for (const Json& year : Json::parse(run.out)) {
      results[0] += year["won"].get<int>();
      results[1] += year["drawn"].get<int>();
      results[2] += year["lost"].get<int>();
    }
    return results;
  }
  TempDirectory dir;
};

TEST_F(RecordFilters, EachFilterLetsThroughItsGames) {
  const struct {
    const char* filters;
    std::vector<int> results;  // won, drawn, lost
  } kCases[] = {
      {"", {6, 1, 3}},
      // The server's class (games 2, 3, 6) or the clock's (4; 7 is 180 s, not under it).
      {"--class blitz", {3, 0, 2}},
      {"--class RAPID", {1, 0, 1}},           // 5 by its Event, 9 by 600 s
      {"--class correspondence", {1, 1, 0}},  // 8 a day a move, 10 by its Event
      {"--class classical", {1, 0, 0}},       // 5400 + 40 x 30 s
      {"--class bullet", {0, 0, 0}},
      {"--clock 180+2", {2, 0, 1}},
      {"--clock 600", {0, 0, 1}},
      {"--clock 1d", {1, 0, 0}},
      {"--variant chess960", {0, 0, 1}},
      {"--variant standard", {6, 1, 2}},
      {"--opponent-rating 1500-1600", {1, 0, 2}},  // 1520, 1530, 1580: unknown ones in no band
      {"--opponent-rating 1650-", {1, 1, 0}},      // 2000 and 1650, both ends included
      {"--opponent-rating=-1290", {1, 0, 1}},      // 1250 and 1290
      {"--termination time", {0, 0, 2}},           // Time forfeit, won on time
      {"--termination checkmate", {1, 0, 0}},
      {"--termination resignation", {1, 0, 0}},
      {"--termination on-the-board", {3, 1, 1}},  // lichess's Normal
      {"--termination unknown", {1, 0, 0}},       // the club's game has no Termination
      {"--since 2025-02", {2, 1, 2}},
      {"--until 2025-01", {4, 0, 1}},
      {"--since 2025 --until 2025-01-10", {2, 0, 1}},
      {"--server chesscom --class rapid", {0, 0, 1}},
  };
  for (const auto& c : kCases) EXPECT_EQ(Results(c.filters), c.results) << c.filters;
}

TEST_F(RecordFilters, AWrongFilterIsAUsageError) {
  for (const char* filters :
       {"--class hyperbullet", "--clock 3+", "--clock fast", "--opponent-rating 2000-1800",
        "--opponent-rating 1800", "--since 2025-13", "--since 3x", "--termination lost",
        "--since 2025-03 --until 2025-02"}) {
    const StatsRun run = Stats(dir, std::string("--user quill history ") + filters);
    EXPECT_EQ(run.status, 1) << filters;
    EXPECT_EQ(run.err.rfind("tessik-stats: ", 0), 0u) << filters << ": " << run.err;
  }
}

// The rating in each pool after the period's last game of it: lichess's rating change added,
// a game whose server gives none at the rating it was played at.
TEST_F(RecordFilters, HistoryGivesTheRatingsPoolByPool) {
  EXPECT_EQ(Stats(dir, "--user quill history --server lichess").out,
            "Period   Games  +  =  -  Score  Last ratings\n"
            "2025-01      3  2  0  1    67%  lichess blitz 1501, lichess rapid 1662\n"
            "2025-02      2  1  0  1    50%  lichess blitz 1501, lichess chess960 1593\n"
            "2025-03      1  0  1  0    50%  lichess correspondence 1701\n\n"
            "Counted: the database " +
                (dir / "data/tessik/quill.sqlite").string() + " (lichess)\n");
  const Json json = Json::parse(Stats(dir, "--user quill history --by year --json").out);
  EXPECT_EQ(json[1]["last_ratings"], Json({{"chesscom blitz", 1200},
                                           {"chesscom daily", 1210},
                                           {"chesscom rapid", 1215},
                                           {"lichess blitz", 1501},
                                           {"lichess chess960", 1593},
                                           {"lichess correspondence", 1701},
                                           {"lichess rapid", 1662}}));
  EXPECT_EQ(json[0]["last_ratings"], Json({{"pgn classical", 1800}}));
}

// A time ago counts back from now: the games of ten and forty days ago, and of 400 days ago.
TEST(RelativePeriods, ATimeAgoCountsBackFromNow) {
  TempDirectory dir;
  const auto day = [](int daysAgo) {
    const std::time_t when = std::time(nullptr) - daysAgo * 24 * 60 * 60;
    char text[16];
    std::strftime(text, sizeof text, "%Y.%m.%d", std::gmtime(&when));
    return std::string(text);
  };
  std::string pgn;
  for (int daysAgo : {10, 40, 400}) {
    pgn += "[White \"quill\"]\n[Black \"Mark\"]\n[UTCDate \"" + day(daysAgo) +
           "\"]\n[UTCTime \"00:00:00\"]\n[Result \"1-0\"]\n\n1-0\n\n";
  }
  std::ofstream(dir / "near.pgn") << pgn;
  ASSERT_EQ(Stats(dir, "--user quill import near.pgn --player quill").status, 0);
  for (const auto& [filters, games] :
       std::vector<std::pair<std::string, int>>{{"--since 30d", 1},
                                                {"--since 6w", 2},
                                                {"--since 2m", 2},
                                                {"--since 2y", 3},
                                                {"--until 30d", 2},
                                                {"--since 12m --until 1w", 2},
                                                {"--since 6w --until 5w", 1}}) {
    const StatsRun run = Stats(dir, "--user quill rank overall --json " + filters);
    ASSERT_EQ(run.status, 0) << filters << ": " << run.err;
    EXPECT_EQ(Json::parse(run.out)["games"], games) << filters;
  }
}

}  // namespace
}  // namespace tessik
