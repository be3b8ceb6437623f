// An opponent as a player names one: every spelling of an account's name counted as one, a name
// found from its beginning, and the ratings' expectation over the games whose ratings are known;
// on the record of support/record_pgn.h, with figures worked out by hand from its table.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "support/record_pgn.h"
#include "support/stats_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using Json = nlohmann::json;

class RecordOpponents : public ::testing::Test {
 protected:
  void SetUp() override { ImportRecord(dir); }
  StatsRun Run(const std::string& arguments) { return Stats(dir, "--user quill " + arguments); }
  TempDirectory dir;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// kenzy34 is one player on lichess whatever the letter case (games 2, 3, 7, 10), another on
// chess.com (4); the anonymous player of game 6 is no one's account and is counted as left out.
TEST_F(RecordOpponents, RankCountsAnAccountOncePerServerAndLeavesOutTheAnonymous) {
  const Json json = Json::parse(Run("rank most --json").out);
  std::vector<std::tuple<std::string, std::string, int, int, int>> rows;
  for (const Json& row : json["opponents"]) {
    rows.emplace_back(Lower(row["opponent"]), row["server"], row["won"], row["drawn"], row["lost"]);
  }
  EXPECT_EQ(rows, (decltype(rows){{"kenzy34", "lichess", 1, 1, 2},
                                  {"marta", "chesscom", 1, 0, 1},
                                  {"fen_walker_of_the_long_name_indeed", "lichess", 1, 0, 0},
                                  {"kenzy34", "chesscom", 1, 0, 0},
                                  {"mark", "pgn", 1, 0, 0}}));
  EXPECT_EQ(json["anonymous_games_left_out"], 1);
  const std::string overall = Run("rank overall").out;
  EXPECT_NE(overall.find("Games        9\nOpponents    5\n"), std::string::npos) << overall;
  EXPECT_NE(overall.find("\nLeft out: 1 game against anonymous players\n"), std::string::npos)
      << overall;
}

TEST_F(RecordOpponents, ScoreFindsTheOpponentLetterCaseAsideThenByTheBeginning) {
  const struct {
    const char* name;
    int status;
    const char* found;  // in the output (status 0) or the error
  } kCases[] = {
      {"kenzy34", 0, "Counted as   Kenzy34, kenzy34 (lichess); KENZY34 (chesscom)\n"},
      {"KENZY", 0, "Points       2.5 of 5, expected 2.5 (+0.0)\n"},
      {"fen_walker", 0, "Score against Fen_Walker_of_the_long_name_indeed +1 =0 -0 (100%)"},
      {"mar", 2,
       "tessik-stats: several opponents' names begin with mar: Mark Marta; name one of them\n"},
      {"Marte", 2, "no game against Marte in the record of quill; the closest handles: Marta, "},
  };
  for (const auto& c : kCases) {
    const StatsRun run = Run(std::string("score ") + c.name);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.found), std::string::npos)
        << c.name << ": " << run.out << run.err;
  }
}

// kenzy34's games: rating differences -20, -24, -50 (chess.com), +20 and +50; the table gives
// 15, 15, 14, 17 and 18 32nds: 79/32. By Elo: 0.47124 + 0.46553 + 0.42854 + 0.52876 + 0.57146.
// Mark's rating is unknown: his game predicts nothing.
TEST_F(RecordOpponents, TheExpectationStandsOnTheGamesWhoseRatingsAreKnown) {
  const Json table = Json::parse(Run("score kenzy34 --json").out);
  EXPECT_EQ(table["expectation"], Json({{"games", 5},
                                        {"points", 2.5},
                                        {"expected_points", 79 / 32.0},
                                        {"games_of_unknown_rating", 0}}));
  const Json elo = Json::parse(Run("score kenzy34 --json --elo").out);
  EXPECT_NEAR(elo["expectation"]["expected_points"].get<double>(), 2.46553, 1e-4);
  // The splits in numbers too: with white games 2, 4 and 7 (15 + 14 + 17 32nds).
  bool white = false;
  for (const Json& split : table["splits"]) {
    if (split["rating_type"] != "any" || split["colour"] != "white") continue;
    white = true;
    EXPECT_EQ(split["expectation"]["expected_points"], 46 / 32.0);
    EXPECT_EQ(split["won"], 2);
  }
  EXPECT_TRUE(white);

  EXPECT_NE(Run("score Mark")
                .out.find("Points      1.0 of 1; no game with both ratings known to expect from\n"),
            std::string::npos);
  // The surprise ranking: Fen_Walker 1 against 4/32, KENZY34 1 against 14/32, Marta 1 against
  // 12 + 13 32nds, kenzy34 1.5 against 65/32; Mark and the anonymous player predict nothing.
  const std::string surprise = Run("rank surprise --min-games 1 --server lichess").out;
  EXPECT_NE(surprise.find("Against the ratings (at least 1 game with both ratings known):\n"),
            std::string::npos)
      << surprise;
  const Json ranking = Json::parse(Run("rank surprise --min-games 1 --json").out);
  std::vector<std::pair<std::string, double>> rows;
  for (const Json& row : ranking["opponents"]) {
    rows.emplace_back(Lower(row["opponent"]), row["difference"]);
  }
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, double>>{
                      {"fen_walker_of_the_long_name_indeed", 1 - 4 / 32.0},
                      {"kenzy34", 1 - 14 / 32.0},
                      {"marta", 1 - 25 / 32.0},
                      {"kenzy34", 1.5 - 65 / 32.0}}));
}

// A user with neither a log nor a database: the one of another letter case, or whose name begins
// with the one given, else the closest.
TEST_F(RecordOpponents, AWrongUserGetsTheUserMeant) {
  for (const auto& [user, meant] : std::vector<std::pair<std::string, std::string>>{
           {"QUILL", "quill"}, {"qu", "quill"}, {"qill", "quill"}}) {
    const StatsRun run = Stats(dir, "--user " + user + " rank most");
    EXPECT_EQ(run.status, 2) << user;
    EXPECT_EQ(run.err.rfind("tessik-stats: no game log of " + user + " in ", 0), 0u) << run.err;
    EXPECT_TRUE(run.err.ends_with("; did you mean " + meant + "?\n")) << run.err;
  }
}

}  // namespace
}  // namespace tessik
