// Kills the plug-in with SIGKILL at many points of scripted sessions (while games are recorded,
// while totals and settings are saved, during the first import and the conversion), then
// checks what is on disk and that the next session starts from a whole current log.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "store/game_record.h"
#include "support/game_rows.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace {

using tessik::ReadFile;

namespace fs = std::filesystem;

struct HostRun {
  std::vector<std::string> lines;
  bool killed = false;
};

// Runs the host on a script in dir; with killAfter, kills the plug-in that long after it starts.
HostRun RunHost(const fs::path& dir, const std::string& script,
                std::chrono::microseconds killAfter = std::chrono::microseconds::zero()) {
  tessik::SimProcess sim(dir, script);
  HostRun run;
  if (killAfter.count() > 0) {
    pid_t plugin = sim.Plugin();
    std::this_thread::sleep_for(killAfter);
    run.killed = plugin > 0 && kill(plugin, SIGKILL) == 0;
  }
  sim.Wait();
  run.lines = sim.Lines();
  return run;
}

constexpr char kFirstSettings[] = "close with connection=0\n";

// Whole: the settings the test began with, or every line of a save.
void ExpectWholeSettings(const fs::path& path) {
  std::string ini = ReadFile(path);
  if (ini == kFirstSettings) return;
  EXPECT_EQ(ini.rfind("[OutputPrefs]\n", 0), 0u) << ini;
  EXPECT_NE(ini.find("\nstart minimized="), std::string::npos) << ini;
  EXPECT_EQ(ini.back(), '\n');
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tessik-crash-" + std::to_string(getpid()));
    fs::remove_all(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void Fresh() {
    fs::remove_all(dir);
    fs::create_directories(dir / "tessik");
  }
  // A user whose log holds the marker alone, and the first settings.
  void FreshReturningUser() {
    Fresh();
    std::ofstream(dir / "tessik/ann.glg", std::ios::binary)
        << tessik::EncodeGameLog({tessik::MarkerRecord()});
    std::ofstream(dir / "tessik/tessik.ini") << kFirstSettings;
  }
  // The next session: the log loads as a current one (nothing is asked for) and ends cleanly.
  void ExpectCleanNextSession() {
    HostRun next = RunHost(dir, "dg 2 0 ann\nsync\nend\n");
    ASSERT_GE(next.lines.size(), 2u);
    EXPECT_EQ(next.lines[next.lines.size() - 2], "6 62");
    EXPECT_EQ(next.lines.back(), "exit 0");
  }

  fs::path dir;
  std::mt19937 random{20261206};
};

TEST_F(CrashTest, RecordedGamesAndSavedFilesSurviveAKillAnywhere) {
  // Five sessions of one process, eight games each; every session's end saves totals and
  // settings.
  std::string script;
  for (int session = 0, game = 0; session < 5; ++session) {
    script += tessik::Login();
    for (int i = 0; i < 8; ++i, ++game) {
      std::string number = std::to_string(100 + game), opponent = "opp" + std::to_string(game);
      script += tessik::WonGame(number, opponent);
    }
    script += "end\nsync\n";
  }
  FreshReturningUser();
  auto started = std::chrono::steady_clock::now();
  RunHost(dir, script + "file tessik/tessik.ini \"close with connection=1\\n\"\ndg 2 0 ann\nend\n");
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);

  int kills = 0;
  for (int point = 0; point < 24; ++point) {
    FreshReturningUser();
    auto delay = std::chrono::microseconds(random() % static_cast<uint64_t>(whole.count()));
    HostRun run = RunHost(dir, script, delay);
    if (!run.killed) continue;
    ++kills;
    std::set<std::string> acknowledged;  // the host saw the score after the game's end
    for (const std::string& line : run.lines) {
      if (line.rfind("3 Score against opp", 0) == 0) {
        constexpr size_t kName = sizeof "3 Score against " - 1;
        acknowledged.insert(line.substr(kName, line.find(' ', kName) - kName));
      }
    }
    std::string log = ReadFile(dir / "tessik/ann.glg");
    std::vector<tessik::GameRecord> records = tessik::DecodeLog(log);
    if (acknowledged.empty() && records.size() <= 1) continue;  // killed before the first game
    ASSERT_FALSE(records.empty()) << "delay " << delay.count();
    EXPECT_TRUE(tessik::HoldsMarker(records[0]));
    std::set<std::string> kept;
    for (size_t i = 1; i < records.size(); ++i)
      kept.insert(std::string(tessik::OpponentName(records[i])));
    for (const std::string& opponent : acknowledged) {
      EXPECT_TRUE(kept.count(opponent)) << opponent << " lost at delay " << delay.count();
    }
    EXPECT_LE(kept.size(), acknowledged.size() + 1) << "delay " << delay.count();
    ExpectWholeSettings(dir / "tessik/tessik.ini");
    std::string totals = ReadFile(dir / "tessik/ann.stt");
    if (!totals.empty()) {
      EXPECT_EQ(totals.back(), '\n');
    }
    std::ofstream(dir / "tessik/tessik.ini") << "close with connection=1\n";
    ExpectCleanNextSession();
  }
  EXPECT_GE(kills, 20);
}

TEST_F(CrashTest, ImportKilledLeavesNoLogOrAWholeOne) {
  std::string script = "vx2 ann \"" + std::string(SAMPLE_PGN) +
                       "\"\ndg 2 0 ann\nsync\ndg 2 87 ann 1564 1610 1614 x x x 1554 1677 x 1695\n"
                       "sync\nend\n";
  Fresh();
  auto started = std::chrono::steady_clock::now();
  RunHost(dir, script);
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);
  std::string complete = ReadFile(dir / "tessik/ann.glg");
  ASSERT_GT(complete.size(), 1000 * tessik::kGameRecordBytes);
  for (int point = 0; point < 12; ++point) {
    Fresh();
    auto delay = std::chrono::microseconds(random() % static_cast<uint64_t>(whole.count()));
    RunHost(dir, script, delay);
    if (fs::exists(dir / "tessik/ann.glg")) {
      std::string log = ReadFile(dir / "tessik/ann.glg");
      EXPECT_TRUE(log == complete || log.size() < tessik::kGameRecordBytes)
          << "a partial log at delay " << delay.count() << ": " << log.size() << " bytes";
    }
  }
}

TEST_F(CrashTest, ConversionKilledLeavesTheOldLogOrTheNewOne) {
  std::vector<tessik::GameRecord> games;
  for (int i = 0; i < 3000; ++i) {
    tessik::GameRecord game =
        tessik::GameAgainst("opp" + std::to_string(i % 40), static_cast<int8_t>(i % 3 - 1));
    game.initialMinutes = 3;
    game.rated = 1;
    game.startTime = 1600000000 + i;
    games.push_back(game);
  }
  const std::string old = tessik::EncodeGameLog(games);
  std::string script =
      "dg 2 0 ann\nsync\ndg 2 87 ann 1564 1610 1614 x x x 1554 1677 x 1695\nsync\nend\n";
  Fresh();
  std::ofstream(dir / "tessik/ann.glg", std::ios::binary) << old;
  auto started = std::chrono::steady_clock::now();
  RunHost(dir, script);
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - started);
  std::string converted = ReadFile(dir / "tessik/ann.glg");
  ASSERT_EQ(converted.size(), old.size() + tessik::kGameRecordBytes);
  for (int point = 0; point < 12; ++point) {
    Fresh();
    std::ofstream(dir / "tessik/ann.glg", std::ios::binary) << old;
    auto delay = std::chrono::microseconds(random() % static_cast<uint64_t>(whole.count()));
    RunHost(dir, script, delay);
    std::string log = ReadFile(dir / "tessik/ann.glg");
    EXPECT_TRUE(log == old || log == converted) << "delay " << delay.count();
    if (fs::exists(dir / "tessik/ann.glg.10")) {
      EXPECT_EQ(ReadFile(dir / "tessik/ann.glg.10"), old);
    }
  }
}

}  // namespace
