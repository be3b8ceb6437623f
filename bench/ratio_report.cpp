#include "ratio_report.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(const std::vector<TimeRatio>& ratios) : ratios_(ratios) {}

  // A benchmark's time is the median of its repetitions (a single run's, without repetitions).
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!run.error_occurred && (run.run_type == Run::RT_Iteration || median)) {
        times_[run.run_name.str()] = run.GetAdjustedRealTime();
      }
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
  // A shared virtual machine's times stray from run to run: each benchmark runs five times and
  // the ratios take the medians. Flags given on the command line come later and win.
  std::vector<char*> arguments(argv, argv + argc);
  char repetitions[] = "--benchmark_repetitions=5";
  char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
  argc = static_cast<int>(arguments.size());
  argv = arguments.data();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(ratios);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
