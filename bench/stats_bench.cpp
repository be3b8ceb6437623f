// tessik-stats reading a log of 1,000,000 games, whole process from start to exit (score and
// rank), beside cat of the same file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "generated_log.h"
#include "ratio_report.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

struct LogFolder {
  LogFolder() {
    directory =
        std::filesystem::temp_directory_path() / ("tessik-stats-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory / "tessik");
    std::ofstream(directory / "tessik/ann.glg", std::ios::binary)
        << tessik::EncodeGameLog(GenerateGameLog(kGames, kOpponents));
  }
  ~LogFolder() { std::filesystem::remove_all(directory); }
  std::filesystem::path directory;
};

const LogFolder& Folder() {
  static LogFolder folder;
  return folder;
}

void RunCommand(benchmark::State& state, const std::string& command) {
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  }
}

void BM_Cat(benchmark::State& state) {
  RunCommand(state, "cat '" + (Folder().directory / "tessik/ann.glg").string() + "' >/dev/null");
}
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Score(benchmark::State& state) {
  RunCommand(state, std::string(TESSIK_STATS) + " --dir '" + Folder().directory.string() +
                        "' score Player4242 >/dev/null");
}
BENCHMARK(BM_Score)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RankMost(benchmark::State& state) {
  RunCommand(state, std::string(TESSIK_STATS) + " --dir '" + Folder().directory.string() +
                        "' rank most >/dev/null");
}
BENCHMARK(BM_RankMost)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  Folder();
  return RunBenchmarksWithRatios(
      argc, argv,
      {{"score / cat", "BM_Score/real_time", "BM_Cat/real_time", "target: at most 3"},
       {"rank most / cat", "BM_RankMost/real_time", "BM_Cat/real_time", "target: at most 3"}});
}
