#include "generated_log.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

std::vector<tessik::GameRecord> GenerateGameLog(int games, int opponents) {
  std::mt19937 random(20261206);
  std::vector<tessik::GameRecord> log(1, tessik::MarkerRecord());
  log.reserve(static_cast<size_t>(games) + 1);
  for (int i = 1; i <= games; ++i) {
    tessik::GameRecord game;
    tessik::SetOpponent(game, "Player" + std::to_string(random() % opponents));
    game.result = static_cast<int8_t>(static_cast<int>(random() % 3) - 1);
    game.userWhite = random() % 2;
    game.initialMinutes = static_cast<int32_t>(1 + random() % 15);
    game.wild = random() % 10 == 0 ? 23 : 0;
    game.userRating = static_cast<int16_t>(1400 + random() % 400);
    game.opponentRating = static_cast<int16_t>(1400 + random() % 400);
    game.startTime = 1600000000 + i * 60;
    log.push_back(game);
  }
  return log;
}

GeneratedLogFolder::GeneratedLogFolder(int games, int opponents)
    : directory(std::filesystem::temp_directory_path() /
                ("tessik-bench-" + std::to_string(getpid()))) {
  std::filesystem::create_directories(DataDirectory());
  std::ofstream(LogPath(), std::ios::binary)
      << tessik::EncodeGameLog(GenerateGameLog(games, opponents));
}

GeneratedLogFolder::~GeneratedLogFolder() { std::filesystem::remove_all(directory); }

void RunInChildProcess(benchmark::State& state, const std::function<bool()>& work) {
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) _exit(work() ? 0 : 1);
    int status = -1;
    if (child < 0 || waitpid(child, &status, 0) != child || status != 0) {
      state.SkipWithError("the work failed in its process");
    }
  }
}

void RunCommand(benchmark::State& state, const std::string& command) {
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  }
}
