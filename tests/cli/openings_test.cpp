// tessik-stats openings, and score --openings, on the online record (support/record_pgn.h): each
// row's figures worked out by hand from the record's table. The expected percentages come from
// the 32nds of each game's rating difference (user minus opponent): game 2 -20: 15, 3 -24: 15,
// 4 -50: 14, 5 -350: 4, 7 +20: 17, 8 -90: 12, 9 -75: 13, 10 +50: 18; games 1 and 6 have none.
#include <gtest/gtest.h>

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

// The rows of openings --json, each as "colour opening: games +won =drawn -lost score expected".
std::vector<std::string> RowsOf(const Json& rows) {
  std::vector<std::string> texts;
  for (const Json& r : rows) {
    const Json& expected = r["expected_percentage"];
    texts.push_back(r["colour"].get<std::string>() + " " + r["opening"].get<std::string>() + ": " +
                    r["games"].dump() + " +" + r["won"].dump() + " =" + r["drawn"].dump() + " -" +
                    r["lost"].dump() + " " + r["percentage"].dump() + "% " +
                    (expected.is_null() ? "-" : expected.dump() + "%") + " of " +
                    r["expected_games"].dump());
  }
  return texts;
}

class Openings : public ::testing::Test {
 protected:
  void SetUp() override { ImportRecord(dir); }
  Json JsonOf(const std::string& arguments) {
    const StatsRun run = Stats(dir, "--user quill " + arguments + " --json");
    EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
    return Json::parse(run.out);
  }
  TempDirectory dir;
};

TEST_F(Openings, EachKeyGroupsTheGamesOfEachColour) {
  const struct {
    const char* options;
    std::vector<std::string> rows;
  } kCases[] = {
      {"",
       {"white B01: 2 +2 =0 -0 100% 30% of 2",  // games 2, 5: 19/64
        "white C50: 2 +1 =0 -1 50% 42% of 2",   // 4, 9: 27/64
        "white ?: 1 +0 =0 -1 0% 53% of 1",      // 7, the variant game
        "white D02: 1 +1 =0 -0 100% - of 0",    // 1, its opponent unrated
        "black B01: 2 +1 =1 -0 75% 47% of 2",   // 8, 10: 30/64
        "black A00: 1 +1 =0 -0 100% - of 0",    // 6
        "black C50: 1 +0 =0 -1 0% 47% of 1"}},  // 3
      // The exact Elo expectation: 2 and 5 give 0.4712 + 0.1177, 4 and 9 0.4285 + 0.3937.
      {"--elo --colour white --min-games 2",
       {"white B01: 2 +2 =0 -0 100% 29% of 2", "white C50: 2 +1 =0 -1 50% 41% of 2"}},
      // chess.com's games named by their ECOUrl: 4 Italian Game, 8 Scandinavian Defense, 9.
      {"--by name",
       {"white ?: 1 +0 =0 -1 0% 53% of 1", "white Italian Game: 1 +1 =0 -0 100% 44% of 1",
        "white Italian Game Two Knights: 1 +0 =0 -1 0% 41% of 1",
        "white Queen's Pawn Game: 1 +1 =0 -0 100% - of 0",
        "white Scandinavian Defense: 1 +1 =0 -0 100% 47% of 1",
        "white Scandinavian Defense: Mieses-Kotroc Variation: 1 +1 =0 -0 100% 13% of 1",
        "black Scandinavian Defense: 2 +1 =1 -0 75% 47% of 2",
        "black Italian Game: 1 +0 =0 -1 0% 47% of 1",
        "black Van't Kruijs Opening: 1 +1 =0 -0 100% - of 0"}},
      {"--by Family --min-games 2",
       {"white Scandinavian Defense: 2 +2 =0 -0 100% 30% of 2",
        "black Scandinavian Defense: 2 +1 =1 -0 75% 47% of 2"}},
      {"--server chesscom",  // 4, 9; 8
       {"white C50: 2 +1 =0 -1 50% 42% of 2", "black B01: 1 +1 =0 -0 100% 38% of 1"}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(RowsOf(JsonOf(std::string("openings ") + c.options)), c.rows) << c.options;
  }
}

// Against KENZY34 on chess.com: game 4 alone, after score's own text and in its JSON.
TEST_F(Openings, ScoreAddsTheOpeningsOfTheOpponentsGames) {
  const std::string text =
      Stats(dir, "--user quill score KENZY34 --server chesscom --openings").out;
  const std::string plain = Stats(dir, "--user quill score KENZY34 --server chesscom").out;
  const std::string table =
      "\nColour  Opening  Games  +  =  -  Score  Expected\n"
      "white   C50          1  1  0  0   100%  44% of 1\n";
  const size_t counted = plain.find("\nCounted: ");
  EXPECT_EQ(text, plain.substr(0, counted) + table + plain.substr(counted));
  const Json json = JsonOf("score KENZY34 --server chesscom --openings");
  EXPECT_EQ(RowsOf(json["openings"]),
            std::vector<std::string>{"white C50: 1 +1 =0 -0 100% 44% of 1"});
  EXPECT_FALSE(JsonOf("score KENZY34 --server chesscom").contains("openings"));
}

// An opening's name is text: an escape byte of its tag is printed in caret notation. The
// Opening tag comes before the ECOUrl's name; a URL not under /openings/ names none.
TEST(OpeningNames, AreTextAndComeFromTheTagsInTurn) {
  TempDirectory dir;
  std::string pgn;
  for (const char* tags : {"[Opening \"Evil\x1b[2J Gambit\"]\n",
                           "[Opening \"Ruy Lopez\"]\n[ECOUrl "
                           "\"https://www.chess.com/openings/Spanish-Game\"]\n",
                           "[ECOUrl \"https://www.chess.com/games/Not-An-Opening\"]\n"}) {
    pgn +=
        std::string("[White \"quill\"]\n[Black \"Mark\"]\n") + tags + "[Result \"1-0\"]\n\n1-0\n\n";
  }
  std::ofstream(dir / "names.pgn") << pgn;
  ASSERT_EQ(Stats(dir, "--user quill import names.pgn --player quill").status, 0);
  EXPECT_EQ(Stats(dir, "--user quill openings --by name").out,
            "Colour  Opening           Games  +  =  -  Score  Expected\n"
            "white   ?                     1  1  0  0   100%  -\n"
            "white   Evil^[[2J Gambit      1  1  0  0   100%  -\n"
            "white   Ruy Lopez             1  1  0  0   100%  -\n\n"
            "Counted: the database " +
                (dir / "data/tessik/quill.sqlite").string() + " (pgn)\n");
}

}  // namespace
}  // namespace tessik
