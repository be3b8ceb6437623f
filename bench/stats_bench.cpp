// tessik-stats reading a log of 1,000,000 games, whole process from start to exit (score and
// each ranking), beside cat of the same file.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "figure_report.h"
#include "generated_log.h"

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

void BM_Rank(benchmark::State& state, const std::string& report) {
  RunCommand(state, std::string(TESSIK_STATS) + " --dir '" + Folder().directory.string() +
                        "' rank " + report + " >/dev/null");
}
BENCHMARK_CAPTURE(BM_Rank, most, "most")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Rank, best, "best")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Rank, worst, "worst")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Rank, overall, "overall")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Rank, surprise, "surprise")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  Folder();
  std::vector<BenchFigure> figures = {
      {"score / cat", "BM_Score/real_time", "BM_Cat/real_time", AtMost(3)}};
  for (const char* report : {"most", "best", "worst", "overall", "surprise"}) {
    figures.push_back({"rank " + std::string(report) + " / cat",
                       "BM_Rank/" + std::string(report) + "/real_time", "BM_Cat/real_time",
                       AtMost(3)});
  }
  return RunBenchmarksWithFigures(argc, argv, figures);
}
