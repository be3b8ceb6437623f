// A login on a heavy player's log: loading 1,000,000 games and counting them per opponent,
// beside the time it takes merely to read the same file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "figure_report.h"
#include "generated_log.h"
#include "session/plugin_app.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

const GeneratedLogFolder& Log() {
  static GeneratedLogFolder folder(kGames, kOpponents);
  return folder;
}

// Reads the whole file into buffer; the number of bytes read.
size_t ReadInto(const std::string& path, char* buffer, size_t size) {
  int fd = open(path.c_str(), O_RDONLY);
  size_t total = 0;
  for (ssize_t got; (got = read(fd, buffer + total, size - total)) > 0;) {
    total += static_cast<size_t>(got);
  }
  close(fd);
  return total;
}

// What merely reading the file costs a process: memory for it, and the read.
void BM_ReadLogFile(benchmark::State& state) {
  std::string path = Log().LogPath().string();
  size_t size = std::filesystem::file_size(path);
  for (auto _ : state) {
    std::unique_ptr<char[]> buffer(new char[size]);
    benchmark::DoNotOptimize(ReadInto(path, buffer.get(), size));
  }
}
BENCHMARK(BM_ReadLogFile)->Unit(benchmark::kMillisecond);

// The same read into memory that is mapped already: the copy out of the page cache alone.
void BM_ReadLogFileIntoWarmBuffer(benchmark::State& state) {
  std::string path = Log().LogPath().string();
  std::vector<char> buffer(std::filesystem::file_size(path));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadInto(path, buffer.data(), buffer.size()));
  }
}
BENCHMARK(BM_ReadLogFileIntoWarmBuffer)->Unit(benchmark::kMillisecond);

// A login of app: the log loaded, the totals counted.
void LogIn(benchmark::State& state, tessik::CPluginApp& app) {
  app.dataDirectory = Log().DataDirectory().string() + "/";
  if (tessik::OpenFolder(app.dataDirectory, app.dataFolder)) state.SkipWithError("no folder");
  app.userName = "ann";
  app.opponentTotals = std::make_unique<tessik::OpponentTotalsList>();
  if (app.LoadGameLog() != tessik::GameLogState::CurrentLog) state.SkipWithError("no log");
  app.RebuildTotals();
  benchmark::DoNotOptimize(app.opponentTotals->size());
}

// ns_per_game: the time of one game of a login ("23.1n": 23.1 ns).
void CountGames(benchmark::State& state) {
  state.counters["ns_per_game"] = benchmark::Counter(
      kGames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A login as a session begins: the log loaded into a new session's memory.
void BM_Login(benchmark::State& state) {
  for (auto _ : state) {
    tessik::CPluginApp app;
    LogIn(state, app);
  }
  CountGames(state);
}
BENCHMARK(BM_Login)->Unit(benchmark::kMillisecond);

// The same login into memory a session has used before: the work on the games alone.
void BM_LoginIntoWarmMemory(benchmark::State& state) {
  tessik::CPluginApp app;
  for (auto _ : state) LogIn(state, app);
  CountGames(state);
}
BENCHMARK(BM_LoginIntoWarmMemory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Log();
  return RunBenchmarksWithFigures(
      argc, argv,
      {{"login / plain read of the same file", "BM_Login", "BM_ReadLogFile", AtMost(3)},
       {"login into warm memory / copy of the file out of the page cache", "BM_LoginIntoWarmMemory",
        "BM_ReadLogFileIntoWarmBuffer", std::nullopt}});
}
