#include "import/pgn_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "import/pgn_game.h"
#include "import/pgn_text.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

TEST(PgnText, TagLinesAndTokens) {
  std::string_view name, value;
  EXPECT_TRUE(ParseTagLine(R"([White "ann"])", name, value));
  EXPECT_EQ(name, "White");
  EXPECT_EQ(value, "ann");
  EXPECT_TRUE(ParseTagLine(R"([Event "rated "blitz" match"])", name, value));
  EXPECT_EQ(value, R"(rated "blitz" match)");
  EXPECT_TRUE(ParseTagLine("[Odd]", name, value));
  EXPECT_EQ(name, "Odd]");
  EXPECT_EQ(value, "");
  EXPECT_FALSE(ParseTagLine(R"([White "ann"] )", name, value));
  EXPECT_FALSE(ParseTagLine("", name, value));

  size_t position = 0;
  std::string_view token;
  EXPECT_TRUE(NextToken("300+2", position, '+', token));
  EXPECT_EQ(token, "300");
  EXPECT_TRUE(NextToken("300+2", position, '+', token));
  EXPECT_EQ(token, "2");
  EXPECT_FALSE(NextToken("300+2", position, '+', token));
  EXPECT_EQ(token, "");
}

// A PGN game of the server; the user is ann.
std::string Game(const std::string& white, const std::string& black, const std::string& result,
                 const std::string& extraTags = "", const std::string& timeControl = "300",
                 const std::string& event = "rated blitz match") {
  return "[Event \"" + event + "\"]\n[Date \"2020.01.02\"]\n[Time \"03:04:05\"]\n[White \"" +
         white + "\"]\n[Black \"" + black + "\"]\n[Result \"" + result +
         "\"]\n[WhiteElo \"1600\"]\n[BlackElo \"1500\"]\n[TimeControl \"" + timeControl + "\"]\n" +
         extraTags + "\n1. e4 e5 2. Nf3 Nc6 {a comment} " + result + "\n\n";
}

class PgnImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  // Parses text as the PGN; the records kept, the marker first.
  std::vector<GameRecord> Parse(const std::string& text) {
    WriteFile(directory / "ann.pgn", text);
    std::vector<GameRecord> games;
    EXPECT_EQ(ParsePgn(games, directory / "ann.pgn", "ann", directory / "pgn_read.txt").error, 0);
    return games;
  }
  std::string Log() { return ReadFile(directory / "pgn_read.txt"); }

  TempDirectory directory;
};

TEST_F(PgnImportTest, UsersGameBecomesARecord) {
  std::vector<GameRecord> games = Parse(Game("ann", "bob", "1-0"));
  ASSERT_EQ(games.size(), 2u);
  EXPECT_TRUE(HoldsMarker(games[0]));
  const GameRecord& game = games[1];
  EXPECT_EQ(OpponentName(game), "bob");
  EXPECT_EQ(game.result, kUserWon);
  EXPECT_EQ(game.userWhite, 1);
  EXPECT_EQ(game.userRating, 1600);
  EXPECT_EQ(game.opponentRating, 1500);
  EXPECT_EQ(game.initialMinutes, 5);
  EXPECT_EQ(game.incrementSeconds, 0);
  EXPECT_EQ(game.pool, 2);
  EXPECT_EQ(game.rated, 1);
  EXPECT_EQ(game.title, 1);
  EXPECT_EQ(game.womanTitle, 1);
  EXPECT_EQ(game.origin, 0);
  EXPECT_EQ(game.gameKey, 0);
  EXPECT_EQ(game.startTime, 1577934245);  // 2020-01-02 03:04:05 UTC
}

TEST_F(PgnImportTest, ResultsAsTheServerWordsThem) {
  std::vector<GameRecord> games =
      Parse(Game("ann", "bob", "*", "[KeshResult \"White forfeits on time\"]\n") +
            Game("bob", "ann", "*", "[KeshResult \"White forfeits on time\"]\n") +
            Game("ann", "bob", "*",
                 "[KeshResult \"Black ran out of time and White has no material to mate\"]\n") +
            Game("ann", "bob", "*", "[KeshResult \"Game adjourned\"]\n") +
            Game("bob", "ann", "0-1", "[KeshResult \"Black forfeits on time\"]\n"));
  ASSERT_EQ(games.size(), 5u);
  EXPECT_EQ(games[1].result, kUserLost);
  EXPECT_EQ(games[2].result, kUserWon);
  EXPECT_EQ(games[3].result, kDraw);
  EXPECT_EQ(games[4].result, kUserWon);  // a result other than "*" stands
  EXPECT_EQ(games[4].userWhite, 0);
  EXPECT_EQ(games[4].userRating, 1500);
}

TEST_F(PgnImportTest, TimeControlsAndEvents) {
  std::vector<GameRecord> games =
      Parse(Game("ann", "bob", "1-0", "", "300+2") + Game("ann", "bob", "1-0", "", "900") +
            Game("ann", "bob", "1-0", "", "300", "rated blitz tourney (w17 5 0 u) round 2") +
            Game("ann", "bob", "1-0", "", "300", "unrated u game") +
            Game("ann", "bob", "1-0", "", "600", "rated wild w22 match"));
  ASSERT_EQ(games.size(), 6u);
  EXPECT_EQ(games[1].incrementSeconds, 2);
  EXPECT_EQ(games[1].pool, 0);
  EXPECT_EQ(games[2].initialMinutes, 15);
  EXPECT_EQ(games[2].pool, 2);
  EXPECT_EQ(games[3].wild, 17);
  EXPECT_EQ(games[3].rated, 0);
  EXPECT_EQ(games[3].pool, 0);
  EXPECT_EQ(games[4].rated, 0);
  EXPECT_EQ(games[5].wild, 22);
  EXPECT_EQ(games[5].pool, 0);
}

TEST_F(PgnImportTest, OnlyTheUsersDecisiveOrDrawnGamesOfKeptVariantsAreKept) {
  std::vector<GameRecord> games =
      Parse(Game("bob", "carl", "1-0") + Game("bob", "carl", "1/2-1/2") + Game("ann", "bob", "*") +
            Game("ann", "bob", "1-0", "", "300", "rated wild w24") + Game("Ann", "bob", "1-0") +
            Game("carl", "ann", "1/2-1/2"));
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(OpponentName(games[1]), "carl");
  EXPECT_EQ(games[1].result, kDraw);
  EXPECT_NE(Log().find("Read 6 Games from the PGN, put 2 in the gamelog\n"), std::string::npos);
}

TEST_F(PgnImportTest, NeighbouringDuplicatesGoAndAreLogged) {
  std::string bob = Game("ann", "bob", "1-0");
  std::vector<GameRecord> games = Parse(bob + bob + bob + Game("ann", "carl", "0-1") + bob);
  ASSERT_EQ(games.size(), 4u);
  EXPECT_EQ(Log(),
            "Importing  games from the PGN:\n\n"
            "Read 5 Games from the PGN, put 6 in the gamelog\n"
            "Doublette at 1 / 2 bob 1500 removed\n"
            "Doublette at 1 / 2 bob 1500 removed\n"
            "Header: ***tessik*** 0 \n"
            "First game: bob 1500 \n"
            "last Game: bob 1500 \n");
}

TEST_F(PgnImportTest, EmptyFileCountsOneGameAndKeepsNone) {
  std::vector<GameRecord> games = Parse("");
  EXPECT_EQ(games.size(), 1u);
  EXPECT_EQ(Log(),
            "Importing  games from the PGN:\n\n"
            "Read 1 Games from the PGN, put 1 in the gamelog\n"
            "Header: ***tessik*** 0 \n"
            "First game: (none) 0 \n"
            "last Game: ***tessik*** 0 \n");
}

TEST_F(PgnImportTest, WindowsLineEndsAndALastLineWithoutOne) {
  std::string text = Game("ann", "bob", "1-0") + Game("ann", "carl", "0-1");
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf.erase(crlf.size() - 4);  // the last move line loses its line end
  std::vector<GameRecord> games = Parse(crlf);
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(OpponentName(games[2]), "carl");
}

TEST_F(PgnImportTest, HostFileNamesThePgn) {
  std::string dir = directory.path() + "/";
  EXPECT_EQ(LocatePgnFile(dir, "ann"), dir + "ann.pgn");
  WriteFile(dir + "ann.vx2",
            std::string("\x01\x02junk\0", 7) + "C:\\games\\me.pgn" + std::string("\0\x7f more", 7));
  EXPECT_EQ(LocatePgnFile(dir, "ann"), "C:\\games\\me.pgn");
  WriteFile(dir + "ann.vx2", std::string("Vexmoor2\0\x03", 10) + "/home/ann/chess games/ann.pgn" +
                                 std::string("\0", 1));
  EXPECT_EQ(LocatePgnFile(dir, "ann"), "/home/ann/chess games/ann.pgn");
  WriteFile(dir + "ann.vx2", std::string(600, 'x') + "/late/ann.pgn");  // beyond 500 bytes
  EXPECT_EQ(LocatePgnFile(dir, "ann"), dir + "ann.pgn");
  WriteFile(dir + "ann.vx2", "no path here.pgn");
  EXPECT_EQ(LocatePgnFile(dir, "ann"), dir + "ann.pgn");
}

TEST(LocalPath, DriveLettersAsWineMapsThem) {
  EXPECT_EQ(LocalPath("Z:\\home\\ann\\games.pgn", "/home/ann"), "/home/ann/games.pgn");
  EXPECT_EQ(LocalPath("C:\\games\\me.pgn", "/home/ann"),
            "/home/ann/.wine/dosdevices/c:/games/me.pgn");
  EXPECT_EQ(LocalPath("/srv/ann.pgn", "/home/ann"), "/srv/ann.pgn");
}

TEST_F(PgnImportTest, ImportWritesTheNewLogInPlace) {
  std::string dir = directory.path() + "/";
  ASSERT_EQ(mkdir((dir + "tessik").c_str(), 0700), 0);
  WriteFile(dir + "ann.pgn", Game("ann", "bob", "1-0"));
  std::vector<GameRecord> games;
  GameRecord live;
  live.origin = kOriginLive;
  live.gameKey = 5;
  SetOpponent(live, "dora");
  ImportOutcome outcome =
      ImportPgn(games, dir + "tessik/", "ann", dir, {1500, 1500, 1500, 1500, 1500, 1500}, {live});
  EXPECT_EQ(outcome.pgnError, 0);
  EXPECT_TRUE(outcome.written);
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(OpponentName(games[2]), "dora");  // played while the import was awaited
  EXPECT_EQ(ReadFile(dir + "tessik/ann.glg"), EncodeGameLog(games));
  EXPECT_FALSE(std::filesystem::exists(dir + "tessik/ann.glg.12"));
  EXPECT_TRUE(std::filesystem::exists(dir + "pgn_read.txt"));
}

}  // namespace
}  // namespace tessik

namespace tessik {
namespace {

TEST(StartTimes, SameAsMktimeThroughAYearOfDaylightSavingChanges) {
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  StartTimes times;
  for (int day = 0; day < 365; ++day) {
    for (int hour = 0; hour < 24; ++hour) {
      for (int minute : {0, 30}) {
        std::tm fields{};
        fields.tm_year = 2021 - 1900;
        fields.tm_mon = 0;
        fields.tm_mday = 1 + day;  // mktime carries the days into the months
        fields.tm_hour = hour;
        fields.tm_min = minute;
        fields.tm_isdst = -1;
        std::tm copy = fields;
        std::time_t expected = std::mktime(&copy);
        ASSERT_EQ(times.Convert(2021, copy.tm_mon + 1, copy.tm_mday, hour, minute, 0),
                  static_cast<int32_t>(expected))
            << copy.tm_mon + 1 << "-" << copy.tm_mday << " " << hour << ":" << minute;
      }
    }
  }
  EXPECT_EQ(times.Convert(2021, 2, 30, 12, 0, 0), times.Convert(2021, 3, 2, 12, 0, 0));
  setenv("TZ", "UTC", 1);
  tzset();
}

}  // namespace
}  // namespace tessik
