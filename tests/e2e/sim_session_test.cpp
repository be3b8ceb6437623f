// The real plug-in driven by the substitute host, as two processes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/game_record.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace {

using tessik::ConsoleLines;
using tessik::FreshDirectory;
using tessik::ReadFile;
using tessik::RunSim;
using tessik::SimRun;

const std::vector<std::string> kGreeting = {"1 Tessik 1.2", "4 1",  "5 16", "5 130", "5 135", "6 0",
                                            "6 29",         "6 15", "6 16", "6 76",  "6 62"};

TEST(SimSession, PluginGreetsAndEndsWithTheConnection) {
  SimRun run = RunSim("end\n");
  ASSERT_EQ(run.lines.size(), 13u);
  EXPECT_EQ(run.lines[0].rfind("dir /", 0), 0u);
  EXPECT_EQ(std::vector<std::string>(run.lines.begin() + 1, run.lines.end() - 1), kGreeting);
  EXPECT_EQ(run.lines.back(), "exit 0");
  EXPECT_EQ(run.status, 0);
  std::string dir = run.lines[0].substr(4);
  EXPECT_FALSE(std::filesystem::exists(dir));  // the temporary directory is removed
}

TEST(SimSession, GuestLoginWritesOnlyTheSettings) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessik-e2e-guest-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  SimRun run = RunSim("dg 2 0 GuestXYZW\nsync\ndg 2 87 x 1500\nend\n", "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.lines.back(), "exit 0");
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    entries.push_back(entry.path().lexically_relative(dir).string());
  }
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"tessik", "tessik/tessik.ini"}));
  std::filesystem::remove_all(dir);
}

TEST(SimSession, ReturningUserKeepsTotalsAndSettingsOnDisk) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessik-e2e-returning-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "tessik");
  std::ofstream(dir / "tessik/ann.glg", std::ios::binary)
      << tessik::EncodeGameLog({tessik::MarkerRecord()})
      << tessik::EncodeGameLog({tessik::GameAgainst("zed", tessik::kUserWon)})
      << tessik::EncodeGameLog({tessik::GameAgainst("Bob", tessik::kDraw)})
      << tessik::EncodeGameLog({tessik::GameAgainst("bob", tessik::kUserLost)});
  std::ofstream(dir / "tessik/tessik.ini") << "[Behaviour]\r\nprevent idle text=brb\r\n";

  SimRun run = RunSim("dg 2 0 ann\nsync\nend\n", "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[run.lines.size() - 2], "6 62");  // nothing beyond the greeting
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "Bob 0 1 1\nzed 1 0 0\n");
  EXPECT_EQ(ReadFile(dir / "tessik/tessik.ini"),
            "[OutputPrefs]\nsilent if no games=0\nshow expected score=0\n"
            "FingerAssessDisplayAll=1\nFingerAssessDisplayAll_bw=0\n"
            "FingerAssessDisplayRtypes=0\nFingerAssessDisplayRtypes_bw=0\n"
            "Show Stats in Vexmoor=1\nShow Stats in Plugin=0\nMatchEtcDisplayAll=1\n"
            "MatchEtcDisplayAll_bw=0\nMatchEtcDisplayRtype=0\nMatchEtcDisplayRtype_bw=0\n\n"
            "[Behaviour]\nclose with connection=1\nprevent idle disconnection=0\n"
            "prevent idle method=0\nprevent idle text=brb\nminimize to systray=1\n"
            "start minimized=0\n");
  EXPECT_EQ(ReadFile(dir / "tessik/tessik.ino"), "[Behaviour]\r\nprevent idle text=brb\r\n");
  std::filesystem::remove_all(dir);
}

TEST(SimSession, FinishedGameIsScoredRecordedAndCounted) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessik-e2e-game-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "tessik");
  std::string before =
      tessik::EncodeGameLog({tessik::MarkerRecord(), tessik::GameAgainst("bob", tessik::kDraw)});
  std::ofstream(dir / "tessik/ann.glg", std::ios::binary) << before;

  auto started = static_cast<int32_t>(std::time(nullptr));
  SimRun run = RunSim(
      "dg 2 0 ann\nsync\n"
      "dg 2 29 bob 1720 \"\" \"\" ann 1650 \"\" \"\" 0 Blitz\n"
      "dg 2 15 77 ann bob 0 Blitz 1 3 0 3 0 1 \"\" 1650 1720 4711 \"\" \"GM C\"\n"
      "dg 2 16 77 ann bob 1-0\nend\n",
      "--dir " + dir.string());
  auto ended = static_cast<int32_t>(std::time(nullptr));
  EXPECT_EQ(run.status, 0);
  ASSERT_GE(run.lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(run.lines.end() - 4, run.lines.end() - 1),
            (std::vector<std::string>{"3 Score against bob +0 =1 -0 (50%)\\n",
                                      "3 Score against bob +0 =1 -0 (50%)\\n",
                                      "3 Score against bob +1 =1 -0 (75%)\\n"}));

  std::string log = ReadFile(dir / "tessik/ann.glg");
  ASSERT_EQ(log.size(), before.size() + tessik::kGameRecordBytes);
  EXPECT_EQ(log.substr(0, before.size()), before);
  tessik::GameRecord expected;
  expected.origin = tessik::kOriginLive;
  expected.initialMinutes = 3;
  expected.rated = 1;
  expected.userWhite = 1;
  expected.result = tessik::kUserWon;
  expected.title = 7;
  expected.computer = 1;
  expected.gameKey = 4711;
  expected.userRating = 1650;
  expected.opponentRating = 1720;
  tessik::SetOpponent(expected, "bob");
  tessik::GameRecord stored =
      tessik::DecodeGameRecord(reinterpret_cast<const unsigned char*>(log.data() + before.size()));
  EXPECT_GE(stored.startTime, started);
  EXPECT_LE(stored.startTime, ended);
  expected.startTime = stored.startTime;
  EXPECT_EQ(log.substr(before.size()), tessik::EncodeGameLog({expected}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 1 0\n");
  std::filesystem::remove_all(dir);
}

const char kRatingDatagram[] = "dg 2 87 ann 1500 1800 1600 x x x 1500 1400 x 1550\n";

TEST(SimSession, NewUsersPastGamesAreImportedFromTheHostsPgn) {
  std::filesystem::path dir = FreshDirectory("import");
  std::ofstream(dir / "past games.pgn")
      << "[White \"ann\"]\n[Black \"bob\"]\n[Result \"0-1\"]\n[TimeControl \"180\"]\n\n"
         "1. f3 e5 2. g4 Qh4# 0-1\n";
  SimRun run = RunSim("vx2 ann \"" + (dir / "past games.pgn").string() + "\"\ndg 2 0 ann\nsync\n" +
                          kRatingDatagram + "sync\ndg 1 130 \"Finger of bob:\"\nend\n",
                      "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> after(run.lines.begin() + 12, run.lines.end());
  EXPECT_EQ(after, (std::vector<std::string>{"6 87", "8 87", "3 Score against bob +0 =0 -1 (0%)\\n",
                                             "exit 0"}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg").size(), 2 * tessik::kGameRecordBytes);
  EXPECT_NE(ReadFile(dir / "pgn_read.txt").find("put 2 in the gamelog"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 0 0 1\n");
  std::filesystem::remove_all(dir);
}

TEST(SimSession, OldLogIsConvertedOnceAndLoadsAsCurrentAfterwards) {
  std::filesystem::path dir = FreshDirectory("convert");
  std::string old = tessik::EncodeGameLog({tessik::GameAgainst("bob", tessik::kUserWon)}) +
                    tessik::EncodeGameLog({tessik::GameAgainst("carl", tessik::kDraw)});
  std::ofstream(dir / "tessik/ann.glg", std::ios::binary) << old;
  SimRun first = RunSim(std::string("dg 2 0 ann\nsync\n") + kRatingDatagram + "end\n",
                        "--dir " + dir.string());
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(std::vector<std::string>(first.lines.begin() + 12, first.lines.end()),
            (std::vector<std::string>{"6 87", "8 87", "exit 0"}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg.10"), old);
  std::string converted = ReadFile(dir / "tessik/ann.glg");
  ASSERT_EQ(converted.size(), 3 * tessik::kGameRecordBytes);
  EXPECT_EQ(converted.substr(22, 12), "***tessik***");

  SimRun second = RunSim("dg 2 0 ann\nsync\nend\n", "--dir " + dir.string());
  EXPECT_EQ(std::vector<std::string>(second.lines.begin() + 12, second.lines.end()),
            std::vector<std::string>{"exit 0"});  // a current log: nothing asked for
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg"), converted);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\ncarl 0 1 0\n");
  std::filesystem::remove_all(dir);
}

using tessik::WonGame;

TEST(SimSession, SecondUserOfTheDirectorySeesNoneOfTheFirstUsersGames) {
  std::filesystem::path dir = FreshDirectory("two-users");
  SimRun ann =
      RunSim("dg 2 0 ann\nsync\n" + WonGame("1", "bob") + "end\n", "--dir " + dir.string());
  EXPECT_EQ(ann.status, 0);
  SimRun bea =
      RunSim("dg 2 0 bea\nsync\ndg 1 130 \"Finger of bob:\"\nend\n", "--dir " + dir.string());
  EXPECT_EQ(std::vector<std::string>(bea.lines.end() - 2, bea.lines.end()),
            (std::vector<std::string>{"3 No game results against bob found\\n", "exit 0"}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\n");
  EXPECT_EQ(ReadFile(dir / "tessik/bea.stt"), "");
  std::filesystem::remove_all(dir);
}

TEST(SimSession, NextSessionOfTheSameProcessCountsOnlyItsOwnUser) {
  std::filesystem::path dir = FreshDirectory("two-sessions");
  std::ofstream(dir / "tessik/tessik.ini") << "close with connection=0\n";
  SimRun run = RunSim("dg 2 0 ann\nsync\n" + WonGame("1", "bob") +
                          "end\nsync\n"
                          "file tessik/tessik.ini \"close with connection=1\\n\"\n"
                          "dg 2 0 bea\nsync\ndg 1 130 \"Finger of bob:\"\n" +
                          WonGame("2", "carl", "bea") + "end\n",
                      "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> console;
  for (const std::string& line : run.lines) {
    if (line.rfind("3 ", 0) == 0) console.push_back(line);
  }
  EXPECT_EQ(
      console,
      (std::vector<std::string>{
          "3 No game results against bob found\\n", "3 Score against bob +1 =0 -0 (100%)\\n",
          "3 No game results against bob found\\n",  // bea's finger of bob
          "3 No game results against carl found\\n", "3 Score against carl +1 =0 -0 (100%)\\n"}));
  EXPECT_EQ(ReadFile(dir / "tessik/bea.stt"), "carl 1 0 0\n");
  std::filesystem::remove_all(dir);
}

TEST(SimSession, ReturningUsersLogLoadsAsCurrentAndCountsEachGameOnce) {
  std::filesystem::path dir = FreshDirectory("returning");
  RunSim("dg 2 0 ann\nsync\n" + WonGame("1", "bob") + WonGame("2", "bob") + "end\n",
         "--dir " + dir.string());
  SimRun again =
      RunSim("dg 2 0 ann\nsync\n" + WonGame("3", "bob") + "end\n", "--dir " + dir.string());
  std::vector<std::string> tail(again.lines.end() - 3, again.lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"3 Score against bob +2 =0 -0 (100%)\\n",
                                            "3 Score against bob +3 =0 -0 (100%)\\n", "exit 0"}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg").size(), 4 * tessik::kGameRecordBytes);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 3 0 0\n");
  std::filesystem::remove_all(dir);
}

TEST(SimSession, ScriptFaultsAreReportedBeforeThePluginStarts) {
  SimRun run = RunSim("dg 2\n");
  EXPECT_TRUE(run.lines.empty());
  EXPECT_NE(run.status, 0);
}

}  // namespace
