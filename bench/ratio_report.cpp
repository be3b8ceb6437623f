#include "ratio_report.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(const std::vector<TimeRatio>& ratios) : ratios_(ratios) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!run.error_occurred) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const TimeRatio& ratio : ratios_) {
      if (!times_.count(ratio.numerator) || !times_.count(ratio.denominator)) continue;
      if (!ratio.less.empty() && !times_.count(ratio.less)) continue;
      const double less = ratio.less.empty() ? 0 : times_[ratio.less];
      std::string target = ratio.target.empty() ? "" : " (" + ratio.target + ")";
      std::printf("%s: %.2f%s\n", ratio.label.c_str(),
                  (times_[ratio.numerator] - less) / times_[ratio.denominator], target.c_str());
    }
  }

 private:
  std::vector<TimeRatio> ratios_;
  std::map<std::string, double> times_;
};

}  // namespace

int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<TimeRatio>& ratios) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(ratios);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
