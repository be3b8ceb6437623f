#include "import/old_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_directory.h"

namespace tessik {
namespace {

GameRecord OldGame(const std::string& opponent, int minutes, uint8_t rated = 1) {
  GameRecord game;
  SetOpponent(game, opponent);
  game.initialMinutes = minutes;
  game.rated = rated;
  game.result = kUserWon;
  game.title = 7;
  game.womanTitle = 4;
  game.computer = 1;
  game.origin = kOriginLive;
  game.reserved = 99;
  game.pool = 3;
  return game;
}

TEST(UpgradeRecords, UntrustedFieldsAreResetAndTheMarkerPutInFront) {
  std::vector<GameRecord> games = {OldGame("bob", 5)};
  UpgradeRecords(games);
  ASSERT_EQ(games.size(), 2u);
  EXPECT_TRUE(HoldsMarker(games[0]));
  EXPECT_EQ(games[1].title, 1);
  EXPECT_EQ(games[1].womanTitle, 1);
  EXPECT_EQ(games[1].computer, 0);
  EXPECT_EQ(games[1].origin, 0);
  EXPECT_EQ(games[1].reserved, 0);
  EXPECT_EQ(games[1].pool, 2);  // rated, 5 minutes, no increment: maybe a pool game
  EXPECT_EQ(OpponentName(games[1]), "bob");
  EXPECT_EQ(games[1].result, kUserWon);

  games = {OldGame("bob", 5, 0), OldGame("bob", 3)};
  UpgradeRecords(games);
  EXPECT_EQ(games[1].pool, 0);
  EXPECT_EQ(games[2].pool, 0);
  games.clear();
  UpgradeRecords(games);
  EXPECT_EQ(games.size(), 1u);
}

TEST(UpgradeRecords, OnlyNeighbouringDuplicatesGo) {
  std::vector<GameRecord> games = {OldGame("bob", 5), OldGame("bob", 5), OldGame("carl", 5),
                                   OldGame("bob", 5)};
  UpgradeRecords(games);
  ASSERT_EQ(games.size(), 4u);
  EXPECT_EQ(OpponentName(games[1]), "bob");
  EXPECT_EQ(OpponentName(games[2]), "carl");
  EXPECT_EQ(OpponentName(games[3]), "bob");
}

class UpgradeOldLogTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& suffix) { return directory.path() + "/ann.glg" + suffix; }
  TempDirectory directory;
  CurrentRatings ratings = {1500, 1500, 1500, 1500, 1500, 1500};
};

TEST_F(UpgradeOldLogTest, OldLogIsKeptAsBackupAndTheNewOneTakesItsPlace) {
  std::vector<GameRecord> games = {OldGame("bob", 3)};
  std::string old = EncodeGameLog(games);
  WriteFile(Path(""), old);
  ConversionOutcome outcome = UpgradeOldLog(games, directory.path() + "/", "ann", ratings);
  EXPECT_TRUE(outcome.written);
  EXPECT_EQ(ReadFile(Path(".10")), old);
  EXPECT_EQ(ReadFile(Path("")), EncodeGameLog(games));
  EXPECT_FALSE(std::filesystem::exists(Path(".12")));
}

TEST_F(UpgradeOldLogTest, ExistingBackupIsNeverReplaced) {
  std::vector<GameRecord> games = {OldGame("bob", 3)};
  std::string old = EncodeGameLog(games);
  WriteFile(Path(""), old);
  WriteFile(Path(".10"), "an older backup");
  ConversionOutcome outcome = UpgradeOldLog(games, directory.path() + "/", "ann", ratings);
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(outcome.problem, "access denied, error code 5");
  EXPECT_EQ(ReadFile(Path(".10")), "an older backup");
  EXPECT_EQ(ReadFile(Path("")), old);  // converted again at the next login
  EXPECT_EQ(ReadFile(Path(".12")), EncodeGameLog(games));
  EXPECT_EQ(games.size(), 2u);  // the session goes on with the converted table
}

}  // namespace
}  // namespace tessik
