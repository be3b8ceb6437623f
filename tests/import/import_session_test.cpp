// The first import and the conversion as a session meets them: login, the rating datagram,
// the lines in the window, the totals and the log on disk.
#include <gtest/gtest.h>

#include "host/game_start_info.h"
#include "support/session_fixture.h"
#include "ui/settings.h"

namespace tessik {
namespace {

const std::vector<std::string> kRatings = {"ann", "1500", "1800", "1600", "x",   "x",
                                           "x",   "1500", "1400", "x",    "1550"};
const std::string kTips =
    "\r\n\r\n- By default all the options that make the plugin show more details are turned off "
    "so you won't get spammed by information you may not want. Look at the options menu and "
    "turn on what you like\r\n\r\n- If you don't want to see the plugin window all the time, "
    "minimize it. It will go to the System tray then and remember it for the next start";

std::string PgnGame(const std::string& black, const std::string& result) {
  return "[Event \"rated blitz match\"]\n[White \"ann\"]\n[Black \"" + black + "\"]\n[Result \"" +
         result + "\"]\n[TimeControl \"180+0\"]\n\n1. e4 e5 " + result + "\n\n";
}

class ImportSessionTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    settings.showStatsInPlugin = 1;
    settings.showStatsInVexmoor = 0;
    WriteFile(DataFile("tessik.ini"), "Show Stats in Plugin=1\nShow Stats in Vexmoor=0\n");
  }
};

TEST_F(ImportSessionTest, NewUsersPastGamesCountFromTheFirstLookup) {
  WriteFile(directory / "games.pgn", PgnGame("bob", "1-0") + PgnGame("bob", "1/2-1/2"));
  WriteFile(directory / "ann.vx2", std::string("host\0", 5) + directory / "games.pgn");
  LogIn("ann");
  EXPECT_EQ(Sent(), std::vector<std::string>{"6 87"});
  Send(2, 87, kRatings);
  Deliver();
  EXPECT_EQ(Sent(), std::vector<std::string>{"8 87"});
  EXPECT_EQ(window.text,
            "Hello ann\r\nSuccesfully imported the game results from your pgn" + kTips);
  window.text.clear();
  Send(1, 130, {"Finger of bob(GM):"});
  Deliver();
  EXPECT_EQ(window.text, "Score against bob +1 =1 -0 (75%)");
  EXPECT_EQ(app.opponentTotals->size(), 1u);
  EXPECT_EQ(ReadFile(DataFile("ann.glg")), EncodeGameLog(app.gameLog));
  EXPECT_EQ(g_pendingImport, kNothingAwaited);
}

TEST_F(ImportSessionTest, WithoutAPgnThereIsNoSuccessLine) {
  LogIn("ann");
  Send(2, 87, kRatings);
  Deliver();
  EXPECT_EQ(window.text, "Hello ann" + kTips);
  EXPECT_EQ(ReadFile(DataFile("ann.glg")), EncodeGameLog({MarkerRecord()}));
}

TEST_F(ImportSessionTest, OldLogIsConvertedAndTheTotalsCountEveryGameOnce) {
  GameRecord old;
  SetOpponent(old, "bob");
  old.result = kUserWon;
  old.initialMinutes = 3;
  old.rated = 1;
  WriteFile(DataFile("ann.glg"), EncodeGameLog({old, old, old}));  // two of them neighbours
  LogIn("ann");
  EXPECT_EQ(window.text, "Updating the gamelog...");
  Send(2, 87, kRatings);
  Deliver();
  EXPECT_EQ(window.text, "Updating the gamelog...\r\n...done" + kTips);
  ASSERT_EQ(app.gameLog.size(), 2u);
  int32_t won = 0, drawn = 0, lost = 0;
  app.opponentTotals->SumAll(won, drawn, lost);
  EXPECT_EQ(won, 1);
  EXPECT_EQ(ReadFile(DataFile("ann.glg.10")), EncodeGameLog({old, old, old}));
  app.EndSession();
  window.text.clear();
  LogIn("ann");
  EXPECT_EQ(window.text, "");  // a current log now
  EXPECT_EQ(app.gameLog.size(), 2u);
}

TEST_F(ImportSessionTest, ConversionThatCannotBeSavedSaysSo) {
  GameRecord old;
  SetOpponent(old, "bob");
  old.result = kUserWon;
  WriteFile(DataFile("ann.glg"), EncodeGameLog({old}));
  WriteFile(DataFile("ann.glg.10"), "an older backup");
  LogIn("ann");
  Send(2, 87, kRatings);
  Deliver();
  EXPECT_EQ(window.text,
            "Updating the gamelog...\r\nThe converted game log could not be saved (access "
            "denied, error code 5): the old log is kept and will be converted again at the next "
            "login." +
                kTips);
  EXPECT_EQ(ReadFile(DataFile("ann.glg.10")), "an older backup");
}

}  // namespace
}  // namespace tessik
