// The first import and the conversion as a session meets them: login, the rating datagram,
// the lines in the window, the totals and the log on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/game_start_info.h"
#include "session/settings.h"
#include "support/session_fixture.h"

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

// What the window says when the PGN is missing or cannot be read, and what the import leaves:
// a log (the import is done) or none (the next login tries again).
TEST_F(ImportSessionTest, ImportSaysWhatBecameOfThePastGames) {
  const std::string pgn = directory / "games.pgn", missing = directory / "gone.pgn";
  const std::string report = directory / "pgn_read.txt";
  struct Case {
    const char* what;
    std::string vx2Names;  // empty: no host file, the default path
    bool pgnIsADirectory;
    bool reportIsADirectory;
    std::string lines;
    size_t logRecords;  // 0: no log written
  };
  const Case cases[] = {
      {"no PGN anywhere", "", false, false,
       "No PGN file of your past games at " + directory / "ann.pgn" +
           ": the game log starts without them.",
       1},
      {"the host's file names a PGN that is not there", missing, false, false,
       "No PGN file of your past games at " + missing + ": the game log starts without them.", 1},
      {"the PGN cannot be read", pgn, true, false,
       "Cannot read the PGN file " + pgn +
           " (not a regular file): no past games were imported. The import will be tried again "
           "at the next login.",
       0},
      {"the report cannot be written", pgn, false, true,
       "Could not write the import's report " + report +
           " (Is a directory): the import went on without it.\r\n"
           "Succesfully imported the game results from your pgn",
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(pgn);
    std::filesystem::remove_all(report);
    std::filesystem::remove(directory / "ann.vx2");
    std::filesystem::remove(DataFile("ann.glg"));
    if (!c.vx2Names.empty()) WriteFile(directory / "ann.vx2", "host " + c.vx2Names + "\n");
    if (c.pgnIsADirectory) {
      std::filesystem::create_directory(pgn);
    } else {
      WriteFile(pgn, PgnGame("bob", "1-0"));
    }
    if (c.reportIsADirectory) std::filesystem::create_directory(report);
    window.text.clear();
    LogIn("ann");
    Sent();
    Send(2, 87, kRatings);
    Deliver();
    EXPECT_EQ(window.text, "Hello ann\r\n" + c.lines + kTips);
    EXPECT_EQ(ReadFile(DataFile("ann.glg")).size(), c.logRecords * kGameRecordBytes);
    app.EndSession();
  }
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
