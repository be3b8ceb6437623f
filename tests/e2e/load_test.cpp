// 100,000 datagrams in bursts through 512-byte pipes while the plug-in records games.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "store/game_record.h"
#include "support/game_rows.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDatagrams = 20000;  // the same run, shorter, where the sanitizers slow it down
#else
constexpr int kDatagrams = 100000;
#endif
constexpr int kDatagramsPerGame = 100;

// One of the lines the host may print for this session, whole: a game's score is always that of
// one won game.
bool WellFormed(const std::string& line) {
  const int size = static_cast<int>(line.size());
  int end = -1;
  unsigned value = 0;
  if (line.rfind("dir ", 0) == 0 || line == "exit 0" || line == "1 Tessik 1.2") return true;
  if (std::sscanf(line.c_str(), "%*1[4568] %u%n", &value, &end) == 1 && end == size) return true;
  end = -1;
  std::sscanf(line.c_str(), "3 Score against g%*u +1 =0 -0 (100%%)\\n%n", &end);
  if (end == size) return true;
  end = -1;
  std::sscanf(line.c_str(), "3 No game results against g%*u found\\n%n", &end);
  return end == size;
}

TEST(Load, BurstsThroughASmallPipeLoseNoGameAndMangleNoMessage) {
  tessik::TempDirectory dir;
  std::ostringstream script;
  script << tessik::Login();
  int sent = 1, games = 0;
  for (; sent < kDatagrams; ++games) {
    std::string number = std::to_string(1000 + games), opponent = "g" + std::to_string(games);
    script << tessik::WonGame(number, opponent);
    sent += 2;
    const std::string between[] = {"dg 2 29 " + opponent + " 1 x x ann 1 x x 0 Blitz\n",
                                   "dg 1 130 \"Finger of " + opponent + ":\"\n", "dg 2 62\n",
                                   "dg 2 76 noise\n"};
    for (int i = 2; i < kDatagramsPerGame && sent < kDatagrams; ++i, ++sent)
      script << between[i % 4];
  }
  script << "sync\nend\n";
  auto started = std::chrono::steady_clock::now();
  tessik::SimRun run = tessik::RunSim(dir, script.str(), {"--pipe-size", "512"});
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%d datagrams (%d games) in %.1f s: %.0f messages per second\n", sent, games, seconds,
              sent / seconds);

  EXPECT_EQ(run.status, 0);
  std::set<std::string> acknowledged;
  for (const std::string& line : run.lines) {
    EXPECT_TRUE(WellFormed(line)) << line;
    char game[16];
    if (std::sscanf(line.c_str(), "3 Score against %15s +1 ", game) == 1) acknowledged.insert(game);
  }
  std::set<std::string> kept;
  for (const tessik::GameRecord& game : tessik::DecodeLog(tessik::ReadFile(dir / "tessik/ann.glg")))
    if (!tessik::HoldsMarker(game)) kept.insert(std::string(tessik::OpponentName(game)));
  for (const std::string& game : acknowledged) EXPECT_TRUE(kept.count(game)) << game;
  EXPECT_EQ(kept.size(), static_cast<size_t>(games));  // the host drops nothing it was asked for
}

}  // namespace
