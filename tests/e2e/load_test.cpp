// 100,000 datagrams in bursts through 512-byte pipes while the plug-in records games.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

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

// One of the lines the host prints for this session, whole.
bool WellFormed(const std::string& line) {
  if (line.rfind("dir ", 0) == 0 || line == "exit 0" || line == "1 Tessik 1.2") return true;
  int value = 0, won = 0, drawn = -1, lost = -1, percent = 0, end = 0;
  char type = 0;
  if (std::sscanf(line.c_str(), "%c %d%n", &type, &value, &end) == 2 &&
      std::string_view("4568").find(type) != std::string_view::npos &&
      end == static_cast<int>(line.size())) {
    return true;
  }
  char game[16];
  if (std::sscanf(line.c_str(), "3 Score against g%*[0-9] +%d =%d -%d (%d%%)\\n%n", &won, &drawn,
                  &lost, &percent, &end) == 4) {
    return drawn == 0 && lost == 0 && percent == 100 && end == static_cast<int>(line.size());
  }
  return std::sscanf(line.c_str(), "3 No game results against %15s found\\n%n", game, &end) == 1 &&
         game[0] == 'g' && end == static_cast<int>(line.size());
}

TEST(Load, BurstsThroughASmallPipeLoseNoGameAndMangleNoMessage) {
  fs::path dir = tessik::FreshDirectory("load");
  std::ostringstream script;
  script << tessik::Login();
  int sent = 1, games = 0;
  for (; sent < kDatagrams; ++games) {
    std::string number = std::to_string(1000 + games), opponent = "g" + std::to_string(games);
    script << tessik::WonGame(number, opponent);
    sent += 2;
    for (int i = 2; i < kDatagramsPerGame && sent < kDatagrams; ++i, ++sent) {
      switch (i % 4) {
        case 0:
          script << "dg 2 29 " << opponent << " 1 x x ann 1 x x 0 Blitz\n";
          break;
        case 1:
          script << "dg 1 130 \"Finger of " << opponent << ":\"\n";
          break;
        case 2:
          script << "dg 2 62\n";
          break;
        default:
          script << "dg 2 76 noise\n";
          break;
      }
    }
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
  fs::remove_all(dir);
}

}  // namespace
