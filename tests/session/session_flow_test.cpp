// Whole sessions through the fake window: login outcomes, the end of a session, closing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "host/game_start_info.h"
#include "host/host_message.h"
#include "session/settings.h"
#include "support/records.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

class SessionFlowTest : public SessionFixture {
 protected:
  void WriteCurrentLog() {
    WriteFile(
        DataFile("ann.glg"),
        EncodeGameLog({MarkerRecord(), GameAgainst("bob", kUserWon), GameAgainst("Carl", kDraw),
                       GameAgainst("BOB", kUserLost), GameAgainst("guest1", kUserWon)}));
  }
  void EndConnection() {
    SendRaw(FrameMessage(kMsgConnectionEnded, nullptr, 0));
    Deliver();
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(DataFile(name)); }
};

TEST_F(SessionFlowTest, NewUserIsGreetedAndTheRatingsAreAskedFor) {
  LogIn("ann");
  EXPECT_EQ(window.text, "Hello ann");
  EXPECT_EQ(window.title, "Personal Statistic for ann");
  EXPECT_EQ(Sent(), std::vector<std::string>{"6 87"});
  EXPECT_EQ(g_pendingImport, kFirstImport);
  EXPECT_FALSE(window.timerRunning);
  EXPECT_EQ(window.minimizeCount, 0);
}

TEST_F(SessionFlowTest, ReturningUserSeesNothingAndSavesTotalsAndSettingsAtTheEnd) {
  WriteCurrentLog();
  WriteFile(DataFile("tessik.ini"), "start minimized=1\n");
  LogIn("ann");
  EXPECT_EQ(window.text, "");
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(window.minimizeCount, 1);
  EXPECT_EQ(app.opponentTotals->size(), 2u);
  EndConnection();
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "bob 1 0 1\nCarl 0 1 0\n");
  EXPECT_NE(ReadFile(DataFile("tessik.ini")).find("\nstart minimized=1\n"), std::string::npos);
  EXPECT_EQ(window.trayRemovals, 1);
  EXPECT_EQ(window.closeCount, 1);
  EXPECT_EQ(window.title, "Plugin not connected");
  EXPECT_EQ(app.opponentTotals, nullptr);
  EXPECT_TRUE(window.boxes.empty());
}

TEST_F(SessionFlowTest, OlderLogIsConvertedAfterTheRatingsArrive) {
  WriteFile(DataFile("ann.glg"),
            EncodeGameLog({GameAgainst("bob", kUserWon), GameAgainst("carl", kDraw)}));
  WriteFile(DataFile("tessik.ini"), "start minimized=1\n");
  LogIn("ann");
  EXPECT_EQ(window.text, "Updating the gamelog...");
  EXPECT_EQ(Sent(), std::vector<std::string>{"6 87"});
  EXPECT_EQ(g_pendingImport, kConversion);
  EXPECT_EQ(window.minimizeCount, 0);
}

TEST_F(SessionFlowTest, GuestWritesOnlyTheSettings) {
  WriteCurrentLog();
  LogIn("GUESTann");
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(app.gameLog.size(), 1u);
  EndConnection();
  EXPECT_FALSE(Exists("GUESTann.stt"));
  EXPECT_TRUE(Exists("tessik.ini"));
}

TEST_F(SessionFlowTest, UnreadableLogLeavesTheUsersFilesAlone) {
  ASSERT_EQ(mkdir(DataFile("ann.glg").c_str(), 0700), 0);
  LogIn("ann");
  EXPECT_TRUE(Sent().empty());  // no import would overwrite the log
  EXPECT_EQ(g_pendingImport, kNothingAwaited);
  EndConnection();
  EXPECT_FALSE(Exists("ann.stt"));
  EXPECT_TRUE(std::filesystem::is_directory(DataFile("ann.glg")));
}

TEST_F(SessionFlowTest, UnsafeHandleNeverReachesAPath) {
  LogIn("..");
  EXPECT_TRUE(Sent().empty());
  EndConnection();
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(app.dataDirectory)) {
    files.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(files, std::vector<std::string>{"tessik.ini"});
}

TEST_F(SessionFlowTest, SecondEndSavesTheSettingsAgainAndNoTotals) {
  settings.closeWithConnection = 0;
  WriteCurrentLog();
  WriteFile(DataFile("tessik.ini"), "close with connection=0\n");
  LogIn("ann");
  EndConnection();
  WriteFile(DataFile("ann.stt"), "kept\n");
  std::filesystem::remove(DataFile("tessik.ini"));
  Send(1, 16, {});
  Deliver();
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "kept\n");
  EXPECT_TRUE(Exists("tessik.ini"));
  EXPECT_EQ(window.closeCount, 0);  // "close with connection" off: the window stays
  EXPECT_EQ(window.title, "Plugin not connected");
}

TEST_F(SessionFlowTest, NextSessionInheritsNoAwaitedImportAndNoRunningGame) {
  settings.closeWithConnection = 0;
  WriteFile(DataFile("tessik.ini"), "close with connection=0\n");
  LogIn("ann");  // a new user: the import waits for the ratings
  Send(2, 15, {"5", "ann", "bob", "0", "Blitz", "1", "3", "0", "3", "0", "1"});
  Deliver();
  EndConnection();
  EXPECT_EQ(g_pendingImport, kNothingAwaited);
  EXPECT_EQ(g_gameStartInfo.gameNumber, "");
}

TEST_F(SessionFlowTest, EndBeforeAnyLoginSavesNothing) {
  EndConnection();
  EXPECT_TRUE(std::filesystem::is_empty(app.dataDirectory));
  EXPECT_EQ(window.title, "Plugin not connected");
  EXPECT_EQ(window.closeCount, 1);
}

TEST_F(SessionFlowTest, IdleTimerRunsFromLoginToTheEnd) {
  WriteFile(DataFile("tessik.ini"), "prevent idle disconnection=1\n");
  LogIn("ann");
  EXPECT_TRUE(window.timerRunning);
  EndConnection();
  EXPECT_FALSE(window.timerRunning);
}

TEST_F(SessionFlowTest, ConfirmedCloseSavesAndEndsThePlugin) {
  WriteCurrentLog();
  WriteFile(DataFile("tessik.ini"), "close with connection=0\n");
  LogIn("ann");
  window.answers = {true};
  app.ConfirmClose();
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].text, "This will close the plugin (not only the window)");
  EXPECT_EQ(window.boxes[0].caption, "Close Plugin?");
  EXPECT_TRUE(Exists("ann.stt"));
  EXPECT_TRUE(Exists("tessik.ini"));
  EXPECT_EQ(window.closeCount, 1);
}

TEST_F(SessionFlowTest, RefusedCloseChangesNothing) {
  WriteCurrentLog();
  LogIn("ann");
  window.answers = {false};
  app.ConfirmClose();
  EXPECT_FALSE(Exists("ann.stt"));
  EXPECT_FALSE(Exists("tessik.ini"));
  EXPECT_EQ(window.closeCount, 0);
  EXPECT_EQ(app.userName, "ann");
}

TEST_F(SessionFlowTest, WriteErrorIsOfferedAgainUntilTheUserCancels) {
  WriteCurrentLog();
  LogIn("ann");
  ASSERT_EQ(mkdir(DataFile("ann.stn").c_str(), 0700), 0);
  ASSERT_EQ(mkdir(DataFile("ann.stn/x").c_str(), 0700), 0);  // stays: the save cannot remove it
  window.answers = {true, true, false};
  EndConnection();
  ASSERT_EQ(window.boxes.size(), 3u);
  EXPECT_NE(window.boxes[2].text.find("*.stt-file.\r\nReason: access denied  (Errorcode 5)"),
            std::string::npos);
  EXPECT_FALSE(Exists("ann.stt"));
  EXPECT_TRUE(Exists("tessik.ini"));  // the settings are saved all the same
}

TEST_F(SessionFlowTest, RetryAfterTheProblemIsFixedSaves) {
  WriteCurrentLog();
  LogIn("ann");
  ASSERT_EQ(mkdir(DataFile("ann.stn").c_str(), 0700), 0);
  ASSERT_EQ(mkdir(DataFile("ann.stn/x").c_str(), 0700), 0);
  window.answers = {true};
  window.beforeAnswer = [this] { std::filesystem::remove_all(DataFile("ann.stn")); };
  EndConnection();
  EXPECT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "bob 1 0 1\nCarl 0 1 0\n");
}

TEST(EndOfRun, SessionStillOpenIsSavedWithoutBoxes) {
  TempDirectory directory;
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());
  settings = Settings{};
  FakeMainWindow window;
  CPluginApp app;
  app.StartApplication([&] {
    app.mainWindow = &window;
    app.userName = "ann";
    app.Login();
    app.opponentTotals->AddResult("bob", 0);
    app.mainWindow = nullptr;
  });
  std::filesystem::current_path(before);
  EXPECT_EQ(ReadFile(directory / "tessik/ann.stt"), "bob 1 0 0\n");
  EXPECT_TRUE(std::filesystem::exists(directory / "tessik/tessik.ini"));
  EXPECT_EQ(app.opponentTotals, nullptr);
  EXPECT_TRUE(window.boxes.empty());
}

}  // namespace
}  // namespace tessik
