// A lookup with every line and every per-type line on, against a log of 1,000,000 games,
// beside a plain pass over the same bytes in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "figure_report.h"
#include "generated_log.h"
#include "reports/score_report.h"
#include "session/plugin_app.h"
#include "session/score_output.h"
#include "session/settings.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

tessik::CPluginApp& App() {
  static tessik::CPluginApp app;
  if (app.gameLog.empty()) {
    app.userName = "ann";
    app.gameLog = GenerateGameLog(kGames, kOpponents);
  }
  return app;
}

// Reads every 8-byte word of the log's memory once.
void BM_PlainPass(benchmark::State& state) {
  const auto& log = App().gameLog;
  const auto* bytes = reinterpret_cast<const unsigned char*>(log.data());
  size_t size = log.size() * sizeof(tessik::GameRecord);
  for (auto _ : state) {
    uint64_t sum = 0;
    for (size_t offset = 0; offset + 8 <= size; offset += 8) {
      uint64_t word;
      std::memcpy(&word, bytes + offset, 8);
      sum ^= word;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

void BM_LookupAllLines(benchmark::State& state) {
  tessik::settings = tessik::Settings{};
  tessik::settings.fingerAssessDisplayAllBw = 1;
  tessik::settings.fingerAssessDisplayRtypes = 1;
  tessik::settings.fingerAssessDisplayRtypesBw = 1;
  tessik::settings.showExpectedScore = 1;
  tessik::settings.showStatsInVexmoor = 0;  // the lines are made, then dropped
  for (auto _ : state) tessik::ShowScoreForLookup(App(), "Player4242");
}
BENCHMARK(BM_LookupAllLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  App();
  return RunBenchmarksWithFigures(argc, argv,
                                  {{"lookup / plain pass over the log in memory",
                                    "BM_LookupAllLines", "BM_PlainPass", AtMost(3)}});
}
