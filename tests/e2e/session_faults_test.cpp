// Sessions as a host plays them, where the host or the files do something unusual: datagrams
// outside a session, long handles, a settings file that cannot be read or holds a stray CR.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using Lines = std::vector<std::string>;

// Everything that speaks of the user's games or looks a player up.
std::string GamesAndLookups(const std::string& number) {
  return "dg 2 29 bob 1720 \"\" \"\" ann 1650 \"\" \"\" 0 Blitz\n" + WonGame(number, "bob") +
         "dg 1 130 \"Finger of bob:\"\ndg 1 135 \"ann bob\\rmore\"\n";
}

TEST(SessionFaults, WithNoSessionOpenTheUsersDatagramsDoNothing) {
  std::filesystem::path dir = FreshDirectory("no-session");
  std::ofstream(dir / "tessik/tessik.ini") << "close with connection=0\n";
  SimRun run = RunSim(GamesAndLookups("1") + "dg 2 0 ann\nsync\n" + WonGame("2", "bob") +
                          "end\nsync\n" + GamesAndLookups("3") +
                          "file tessik/tessik.ini \"close with connection=1\\n\"\n"
                          "dg 2 0 ann\nsync\nend\n",
                      "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ConsoleLines(run), (Lines{"3 No game results against bob found\\n",
                                      "3 Score against bob +1 =0 -0 (100%)\\n"}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg").size(), 2u * 40u);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "tessik/.glg"));
  std::filesystem::remove_all(dir);
}

TEST(SessionFaults, HandleLongerThanTheLogKeepsIsOneOpponent) {
  std::filesystem::path dir = FreshDirectory("long-handle");
  const std::string handle = "abcdefghijklmnopq";  // 17 characters; the log keeps 15
  SimRun run = RunSim("dg 2 0 ann\nsync\n" + WonGame("1", handle) + WonGame("2", handle) +
                          "dg 2 29 " + handle + " 1720 \"\" \"\" ann 1650 \"\" \"\" 0 Blitz\n" +
                          "dg 1 130 \"Finger of " + handle + ":\"\nend\n",
                      "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ConsoleLines(run), (Lines{
                                   "3 No game results against " + handle + " found\\n",
                                   "3 Score against abcdefghijklmno +1 =0 -0 (100%)\\n",
                                   "3 Score against " + handle + " +1 =0 -0 (100%)\\n",
                                   "3 Score against abcdefghijklmno +2 =0 -0 (100%)\\n",
                                   "3 Score against " + handle + " +2 =0 -0 (100%)\\n",
                                   "3 Score against " + handle + " +2 =0 -0 (100%)\\n",
                               }));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "abcdefghijklmno 2 0 0\n");
  std::filesystem::remove_all(dir);
}

TEST(SessionFaults, SettingsFileThatCannotBeReadIsNeverReplaced) {
  std::filesystem::path dir = FreshDirectory("unreadable-settings");
  std::filesystem::create_directory(dir / "tessik/tessik.ini");
  std::ofstream(dir / "tessik/tessik.ini/kept") << "x";
  SimRun run = RunSim("dg 2 0 ann\nsync\nend\n", "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);  // no write-error box waits for an answer
  EXPECT_EQ(ReadFile(dir / "tessik/tessik.ini/kept"), "x");
  EXPECT_FALSE(std::filesystem::exists(dir / "tessik/tessik.inn"));
  EXPECT_FALSE(std::filesystem::exists(dir / "tessik/tessik.ino"));
  std::filesystem::remove_all(dir);
}

TEST(SessionFaults, IdleCommandIsReadAsOneLine) {
  std::filesystem::path dir = FreshDirectory("idle-text");
  std::ofstream(dir / "tessik/tessik.ini") << "prevent idle method=2\r\n"
                                           << "prevent idle text=brb\rquit\r\n";
  SimRun run = RunSim("dg 2 0 ann\nsync\nend\n", "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  std::string saved = ReadFile(dir / "tessik/tessik.ini");
  EXPECT_NE(saved.find("\nprevent idle method=2\nprevent idle text=brb\nminimize"),
            std::string::npos)
      << saved;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tessik
