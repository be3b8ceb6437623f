#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>

#include "session/settings.h"
#include "support/records.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

GameRecord Game(const std::string& opponent, int8_t result) {
  GameRecord record = GameAgainst(opponent, result);
  record.initialMinutes = 3;
  return record;
}

class GameLogTest : public SessionFixture {
 protected:
  void WriteLog(const std::string& bytes) { WriteFile(DataFile("ann.glg"), bytes); }
};

TEST_F(GameLogTest, WholeRecordsLoadAndATornTailIsLeftOut) {
  WriteLog(EncodeGameLog({MarkerRecord(), Game("bob", kUserWon)}) + "12345");
  app.userName = "ann";
  EXPECT_EQ(app.LoadGameLog(), GameLogState::CurrentLog);
  ASSERT_EQ(app.gameLog.size(), 2u);
  EXPECT_EQ(OpponentName(app.gameLog[1]), "bob");
  EXPECT_EQ(ReadFile(DataFile("ann.glg")).size(), 85u);  // loading changes nothing
}

TEST_F(GameLogTest, MarkerNameAloneMakesACurrentLog) {
  GameRecord odd = Game("***tessik***", kUserLost);
  odd.wild = 9;
  WriteLog(EncodeGameLog({odd}));
  app.userName = "ann";
  EXPECT_EQ(app.LoadGameLog(), GameLogState::CurrentLog);
  WriteLog(EncodeGameLog({Game("bob", kUserWon), MarkerRecord()}));
  EXPECT_EQ(app.LoadGameLog(), GameLogState::OldLog);
}

TEST_F(GameLogTest, MissingOrEmptyLogIsANewUser) {
  app.userName = "ann";
  EXPECT_EQ(app.LoadGameLog(), GameLogState::NoLog);
  WriteLog("short");
  EXPECT_EQ(app.LoadGameLog(), GameLogState::NoLog);
  ASSERT_EQ(app.gameLog.size(), 1u);  // games played before the import count from record 1
  EXPECT_TRUE(HoldsMarker(app.gameLog[0]));
}

TEST_F(GameLogTest, GuestReadsNoFile) {
  WriteLog(EncodeGameLog({Game("bob", kUserWon)}));
  app.userName = "ann";
  app.guestSession = true;
  EXPECT_EQ(app.LoadGameLog(), GameLogState::GuestLog);
  ASSERT_EQ(app.gameLog.size(), 1u);
  EXPECT_TRUE(HoldsMarker(app.gameLog[0]));
}

TEST_F(GameLogTest, LogThatExistsButCannotBeReadIsNotANewUser) {
  ASSERT_EQ(mkdir(DataFile("ann.glg").c_str(), 0700), 0);  // unreadable for anyone, root too
  app.userName = "ann";
  EXPECT_EQ(app.LoadGameLog(), GameLogState::UnreadableLog);
  EXPECT_EQ(window.text, "Cannot read the game log " + DataFile("ann.glg") +
                             " (not a regular file): nothing will be saved in this session.");
  EXPECT_TRUE(app.userFilesBlocked);
  EXPECT_EQ(app.gameLog.size(), 1u);
}

}  // namespace
}  // namespace tessik
