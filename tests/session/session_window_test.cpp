// What a session shows in the plug-in's own window and asks in its boxes: lines no host sees,
// so a fake window stands in for the real one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "host/host_message.h"
#include "session/settings.h"
#include "support/records.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kRatings = {"ann", "1500", "1800", "1600", "x",   "x",
                                           "x",   "1500", "1400", "x",    "1550"};
const std::string kTips =
    "\r\n\r\n- By default all the options that make the plugin show more details are turned off "
    "so you won't get spammed by information you may not want. Look at the options menu and "
    "turn on what you like\r\n\r\n- If you don't want to see the plugin window all the time, "
    "minimize it. It will go to the System tray then and remember it for the next start";
const char kPgn[] = "[White \"ann\"]\n[Black \"bob\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n";

class SessionWindowTest : public SessionFixture {
 protected:
  void WriteLog(const std::vector<GameRecord>& games) {
    WriteFile(DataFile("ann.glg"), EncodeGameLog(games));
  }
  void EndConnection() {
    SendRaw(FrameMessage(kMsgConnectionEnded, nullptr, 0));
    Deliver();
  }
  bool Exists(const std::string& name) { return fs::exists(DataFile(name)); }
};

TEST_F(SessionWindowTest, LoginSaysWhoIsThereAndWhatComesNext) {
  struct Case {
    std::string user;
    std::string log;  // "current": the marker alone; "old": a log of an older version
    std::string settingsFile;
    std::string text;
    int minimized;
  };
  const Case cases[] = {
      {"ann", "", "", "Hello ann", 0},
      {"ann", "current", "", "", 0},
      {"ann", "current", "start minimized=1\n", "", 1},
      {"ann", "old", "start minimized=1\n", "Updating the gamelog...", 0},
      {"anonYMOUS", "", "",
       "You logged in as anonymous player or guest.\r\nThis plugin will work for this session,\r\n"
       "but no data will be saved to disk.",
       0},
      {"ann.x", "", "",
       "The handle \"ann.x\" cannot be part of a file name: nothing will be read from or saved to "
       "disk in this session.",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.user + " " + c.log + " " + c.settingsFile);
    if (!c.log.empty()) {
      WriteLog({c.log == "old" ? GameAgainst("bob", kUserWon) : MarkerRecord()});
    }
    WriteFile(DataFile("tessik.ini"), c.settingsFile);
    window = FakeMainWindow{};
    LogIn(c.user);
    EXPECT_EQ(window.text, c.text);
    EXPECT_EQ(window.title, "Personal Statistic for " + c.user);
    EXPECT_EQ(window.minimizeCount, c.minimized);
    EndConnection();
    EXPECT_EQ(window.title, "Plugin not connected");
    fs::remove(DataFile("ann.glg"));
  }
  // A data folder that others may open is closed to them first.
  ASSERT_EQ(chmod(app.dataDirectory.c_str(), 0755), 0);
  window = FakeMainWindow{};
  LogIn("ann");
  EXPECT_EQ(window.text, "The data folder " + app.workingDirectory +
                             "tessik was open to other users: it is now closed to them.\r\n"
                             "Hello ann");
}

// The host announces its pipes with thread messages: those that open say nothing; an input pipe
// that cannot be opened is named in the window, and the one already open stays in use.
TEST_F(SessionWindowTest, AnInputPipeThatCannotBeOpenedIsNamedAndTheOpenOneKept) {
  Deliver();  // the notes of the greeting's messages
  EXPECT_EQ(window.text, "");
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), g_ipcNewPipeMessage,
                                 static_cast<uint32_t>(UniqueOddPipeId()), 4096));
  Deliver();
  EXPECT_EQ(window.text, "OpenIPC failed.  GetLastError = 2");
  LogIn("ann");
  EXPECT_EQ(window.title, "Personal Statistic for ann");
}

// The first login of a user, and of one with a log of an older version: what became of the past.
TEST_F(SessionWindowTest, ImportAndConversionSayWhatBecameOfThePastGames) {
  const std::string pgn = directory / "games.pgn", missing = directory / "gone.pgn";
  const std::string report = directory / "pgn_read.txt", hello = "Hello ann\r\n";
  const std::string defaultPgn = directory / "ann.pgn", hostFile = directory / "ann.vx2";
  const std::string old = EncodeGameLog({GameAgainst("bob", kUserWon)});
  const std::string imported = "Succesfully imported the game results from your pgn";
  struct Case {
    std::string hostFile;  // what ann.vx2 names; empty: no host file, the default path
    std::string inTheWay;  // "pgn" or "report": a folder there; "old": an old log, "backup": and
                           // an older backup the conversion may not replace
    std::string text;
    size_t logBytes;
  };
  const Case cases[] = {
      {pgn, "", hello + imported, 2 * kGameRecordBytes},
      {"", "",
       hello + "No PGN file of your past games at " + defaultPgn +
           ": the game log starts without them.",
       kGameRecordBytes},
      {missing, "",
       hello + "No PGN file of your past games at " + missing +
           ": the game log starts without them.",
       kGameRecordBytes},
      {pgn, "pgn",
       hello + "Cannot read the PGN file " + pgn +
           " (not a regular file): no past games were imported. The import will be tried again "
           "at the next login.",
       0},
      {pgn, "report",
       hello + "Could not write the import's report " + report +
           " (Is a directory): the import went on without it.\r\n" + imported,
       2 * kGameRecordBytes},
      {pgn, "old", "Updating the gamelog...\r\n...done", 2 * kGameRecordBytes},
      {pgn, "backup",
       "Updating the gamelog...\r\nThe converted game log could not be saved (access denied, "
       "error code 5): the old log is kept and will be converted again at the next login.",
       old.size()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    for (const std::string& path : {pgn, report, hostFile, DataFile("ann.glg")}) {
      fs::remove_all(path);
    }
    if (!c.hostFile.empty()) WriteFile(hostFile, "host " + c.hostFile + "\n");
    c.inTheWay == "pgn" ? (void)fs::create_directory(pgn) : WriteFile(pgn, kPgn);
    if (c.inTheWay == "report") fs::create_directory(report);
    if (c.inTheWay == "old" || c.inTheWay == "backup") WriteFile(DataFile("ann.glg"), old);
    if (c.inTheWay == "backup") WriteFile(DataFile("ann.glg.10"), "an older backup");
    window.text.clear();
    LogIn("ann");
    Send(2, 87, kRatings);
    Deliver();
    EXPECT_EQ(window.text, c.text + kTips);
    EXPECT_EQ(ReadFile(DataFile("ann.glg")).size(), c.logBytes);
    if (c.inTheWay == "old" || c.inTheWay == "backup") {
      EXPECT_EQ(ReadFile(DataFile("ann.glg.10")), c.inTheWay == "old" ? old : "an older backup");
      fs::remove(DataFile("ann.glg.10"));
    }
    app.EndSession();
  }
}

TEST_F(SessionWindowTest, ScoreLinesGoWhereTheTwoShowSettingsSay) {
  WriteLog({MarkerRecord(), GameAgainst("bob", kUserWon)});
  struct Case {
    const char* settingsFile;
    std::string window;
    std::vector<std::string> host;
  };
  const std::string line = "Score against bob +1 =0 -0 (100%)";
  const Case cases[] = {
      {"Show Stats in Plugin=1\nShow Stats in Vexmoor=0\n", line, {}},
      {"Show Stats in Plugin=0\nShow Stats in Vexmoor=0\n", "", {}},
      {"Show Stats in Plugin=2\nShow Stats in Vexmoor=1\n", line, {"3 " + line + "\\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settingsFile);
    WriteFile(DataFile("tessik.ini"), c.settingsFile);
    window.text.clear();
    LogIn("ann");
    Send(1, 130, {"Finger of bob:"});
    Deliver();
    EXPECT_EQ(window.text, c.window);
    EXPECT_EQ(Sent(), c.host);
    app.EndSession();
  }
}

TEST_F(SessionWindowTest, CloseAsksFirstAndSavesWhenConfirmed) {
  WriteLog({MarkerRecord(), GameAgainst("bob", kUserWon)});
  WriteFile(DataFile("tessik.ini"), "close with connection=0\n");
  LogIn("ann");
  window.answers = {false};
  app.ConfirmClose();
  EXPECT_FALSE(Exists("ann.stt"));
  EXPECT_EQ(window.closeCount, 0);
  EXPECT_EQ(app.userName, "ann");
  window.answers = {true};
  app.ConfirmClose();
  ASSERT_EQ(window.boxes.size(), 2u);
  EXPECT_EQ(window.boxes[1].text, "This will close the plugin (not only the window)");
  EXPECT_EQ(window.boxes[1].caption, "Close Plugin?");
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "bob 1 0 0\n");
  EXPECT_EQ(window.closeCount, 1);
}

TEST_F(SessionWindowTest, WriteErrorsAreOfferedAgainUntilTheUserCancelsOrItWorks) {
  app.applicationName = "tessik";
  WriteLog({MarkerRecord(), GameAgainst("bob", kUserWon)});
  WriteFile(DataFile("ann.stt"), "old 1 2 3\n");
  LogIn("ann");
  ASSERT_EQ(mkdir(DataFile("ann.stn").c_str(), 0700), 0);
  ASSERT_EQ(mkdir(DataFile("ann.stn/x").c_str(), 0700), 0);  // stays: the save cannot remove it
  window.answers = {true, true, false};
  EndConnection();
  ASSERT_EQ(window.boxes.size(), 3u);
  EXPECT_EQ(window.boxes[2].caption, "tessik");
  EXPECT_EQ(window.boxes[2].text,
            "A write error occured with the *.stt-file.\r\nReason: access denied  (Errorcode 5) "
            "\r\nIf you can fix the problem, do so, then press retry.\r\n"
            "Else press cancel, all new data will be lost.");
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "old 1 2 3\n");
  EXPECT_TRUE(Exists("tessik.ini"));  // the settings are saved all the same

  // Retried after the user fixed it: saved.
  window = FakeMainWindow{};
  LogIn("ann");
  window.answers = {true};
  window.beforeAnswer = [this] { fs::remove_all(DataFile("ann.stn")); };
  EndConnection();
  EXPECT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "bob 1 0 0\n");

  // A game that cannot be written stays in the session.
  window = FakeMainWindow{};
  LogIn("ann");
  fs::remove_all(app.dataDirectory);
  window.answers = {true, false};
  WinGame("7");
  ASSERT_EQ(window.boxes.size(), 2u);
  EXPECT_NE(window.boxes[0].text.find("*.glg-file.\r\nReason: bad path  (Errorcode 3)"),
            std::string::npos);
  EXPECT_EQ(app.gameLog.size(), 3u);
}

TEST_F(SessionWindowTest, IdleCommandGoesOutAfterFiftySevenQuietMinutes) {
  WriteFile(DataFile("tessik.ini"), "prevent idle disconnection=1\n");
  LogIn("ann");
  EXPECT_TRUE(window.timerRunning);
  Sent();
  struct Case {
    int method;
    const char* text;
    std::vector<std::string> sent;
  };
  const Case cases[] = {
      {0, "x", {"2 date\\n"}},
      {1, "back soon", {"2 away back soon\\n"}},
      {2, "tell relay hi", {"2 tell relay hi\\n"}},
      {2, "", {"2 date\\n"}},
      {3, "x", {}},
  };
  for (const Case& c : cases) {
    settings.preventIdleMethod = c.method;
    settings.preventIdleText = c.text;
    for (int tick = 0; tick < 18; ++tick) app.OnIdleTimer();
    EXPECT_EQ(Sent(), std::vector<std::string>{}) << c.method;
    app.OnIdleTimer();
    EXPECT_EQ(Sent(), c.sent) << c.method << " " << c.text;
  }
  // Whatever the user does puts the count back.
  const std::vector<std::pair<uint16_t, Fields>> activity = {
      {130, {"Finger of bob:"}}, {135, {"ann bob\rmore"}}, {62, {}}};
  for (const auto& [number, fields] : activity) {
    for (int tick = 0; tick < 18; ++tick) app.OnIdleTimer();
    Send(number == 62 ? 2 : 1, number, fields);
    Deliver();
    Sent();  // the score line
    app.OnIdleTimer();
    EXPECT_EQ(Sent(), std::vector<std::string>{}) << number;
  }
  EndConnection();
  EXPECT_FALSE(window.timerRunning);
}

}  // namespace
}  // namespace tessik
