// Kills the plug-in with SIGKILL at random points of scripted sessions (while games are
// recorded, while totals and settings are saved, during the first import and the conversion),
// then checks what is on disk and that the next session starts from a whole current log.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "store/game_record.h"
#include "support/game_rows.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

namespace fs = std::filesystem;
using Micros = std::chrono::microseconds;

constexpr char kFirstSettings[] = "close with connection=0\n";
const std::string kConversion = Login() + "dg 2 87 ann 1564 1610 1614 x x x 1554 1677 x 1695\n";

class CrashTest : public ::testing::Test {
 protected:
  // Runs script on a fresh folder that prepare fills; with kill, kills the plug-in that long
  // after it starts. The host's lines, and whether the kill came before the plug-in ended.
  std::pair<std::vector<std::string>, bool> Run(const std::string& script, Micros kill = {}) {
    dir = work.emplace();
    prepare();
    SimProcess sim(dir, script);
    bool killed = false;
    if (kill.count() > 0) {
      pid_t plugin = sim.Plugin();
      std::this_thread::sleep_for(kill);
      killed = plugin > 0 && ::kill(plugin, SIGKILL) == 0;
    }
    sim.Wait();
    return {sim.Lines(), killed};
  }
  // Runs the script whole (with ending, which makes the plug-in end), then killed at points
  // random moments within its length: check looks at each killed run's lines and files. The
  // number of runs the kill hit.
  int KillAnywhere(const std::string& script, int points,
                   const std::function<void(const std::vector<std::string>&, Micros)>& check,
                   const std::string& ending = "") {
    auto started = std::chrono::steady_clock::now();
    Run(script + ending);
    auto whole = std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - started);
    wholeLog = ReadFile(dir / "tessik/ann.glg");
    int hits = 0;
    for (int point = 0; point < points; ++point) {
      Micros delay(random() % static_cast<uint64_t>(whole.count()));
      auto [lines, killed] = Run(script, delay);
      hits += killed;
      check(lines, delay);
    }
    return hits;
  }

  std::optional<TempDirectory> work;  // the folder of the last run
  fs::path dir;
  std::function<void()> prepare = [] {};
  std::string wholeLog;  // the log of the run that was not killed
  std::mt19937 random{20261206};
};

TEST_F(CrashTest, RecordedGamesAndSavedFilesSurviveAKillAnywhere) {
  // Five sessions of one process, eight games each; every session's end saves totals and
  // settings.
  std::string script;
  for (int game = 0; game < 40; ++game) {
    if (game % 8 == 0) script += Login();
    script += WonGame(std::to_string(100 + game), "opp" + std::to_string(game));
    if (game % 8 == 7) script += "end\nsync\n";
  }
  prepare = [this] {
    WriteFile(dir / "tessik/ann.glg", EncodeGameLog({MarkerRecord()}));
    WriteFile(dir / "tessik/tessik.ini", kFirstSettings);
  };
  auto check = [this](const std::vector<std::string>& lines, Micros delay) {
    SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " µs");
    std::set<std::string> acknowledged;  // the host saw the score after the game's end
    for (const std::string& line : ConsoleLines(lines)) {
      constexpr size_t kName = sizeof "3 Score against " - 1;
      if (line.rfind("3 Score against", 0) == 0) {
        acknowledged.insert(line.substr(kName, line.find(' ', kName) - kName));
      }
    }
    std::vector<GameRecord> records = DecodeLog(ReadFile(dir / "tessik/ann.glg"));
    ASSERT_FALSE(records.empty());
    EXPECT_TRUE(HoldsMarker(records[0]));
    std::set<std::string> kept;
    for (size_t i = 1; i < records.size(); ++i) kept.insert(std::string(OpponentName(records[i])));
    for (const std::string& opponent : acknowledged) EXPECT_TRUE(kept.count(opponent)) << opponent;
    EXPECT_LE(kept.size(), acknowledged.size() + 1);
    // Settings and totals whole: as they began, or every line of a save.
    std::string ini = ReadFile(dir / "tessik/tessik.ini");
    EXPECT_TRUE(ini == kFirstSettings || ini.ends_with("\nstart minimized=0\n")) << ini;
    std::string totals = ReadFile(dir / "tessik/ann.stt");
    EXPECT_TRUE(totals.empty() || totals.back() == '\n') << totals;
    // The next session loads the log as a current one and ends cleanly.
    WriteFile(dir / "tessik/tessik.ini", "close with connection=1\n");
    SimRun next = RunSim(dir, Login());
    EXPECT_EQ(std::vector<std::string>(next.lines.end() - 2, next.lines.end()),
              (std::vector<std::string>{"6 62", "exit 0"}));
  };
  EXPECT_GE(KillAnywhere(script, 24, check,
                         "file tessik/tessik.ini \"close with connection=1\\n\"\n" + Login()),
            20);
}

TEST_F(CrashTest, ImportKilledLeavesNoLogOrAWholeOne) {
  const std::string script = "vx2 ann \"" + std::string(SAMPLE_PGN) + "\"\n" + kConversion;
  KillAnywhere(script, 12, [this](const std::vector<std::string>&, Micros delay) {
    std::string log = ReadFile(dir / "tessik/ann.glg");
    EXPECT_TRUE(log == wholeLog || log.size() < kGameRecordBytes)
        << "a partial log at " << delay.count() << " µs: " << log.size() << " bytes";
  });
  EXPECT_GT(wholeLog.size(), 1000 * kGameRecordBytes);
}

TEST_F(CrashTest, ConversionKilledLeavesTheOldLogOrTheNewOne) {
  std::vector<GameRecord> games;
  for (int i = 0; i < 3000; ++i) {
    GameRecord game = GameAgainst("opp" + std::to_string(i % 40), static_cast<int8_t>(i % 3 - 1));
    game.initialMinutes = 3;
    game.rated = 1;
    game.startTime = 1600000000 + i;
    games.push_back(game);
  }
  const std::string old = EncodeGameLog(games);
  prepare = [&] { WriteFile(dir / "tessik/ann.glg", old); };
  KillAnywhere(kConversion, 12, [&](const std::vector<std::string>&, Micros delay) {
    std::string log = ReadFile(dir / "tessik/ann.glg");
    EXPECT_TRUE(log == old || log == wholeLog) << delay.count() << " µs";
    EXPECT_TRUE(!fs::exists(dir / "tessik/ann.glg.10") ||
                ReadFile(dir / "tessik/ann.glg.10") == old);
  });
  EXPECT_EQ(wholeLog.size(), old.size() + kGameRecordBytes);
}

}  // namespace
}  // namespace tessik
