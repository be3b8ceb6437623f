// tessik-stats reading a log of 1,000,000 games, whole process from start to exit (score and
// rank), beside cat of the same file.
#include <benchmark/benchmark.h>

#include <string>

#include "generated_log.h"
#include "ratio_report.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

const GeneratedLogFolder& Folder() {
  static GeneratedLogFolder folder(kGames, kOpponents);
  return folder;
}

void BM_Cat(benchmark::State& state) {
  RunCommand(state, "cat '" + Folder().LogPath().string() + "' >/dev/null");
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
