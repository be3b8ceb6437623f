#include "figure_report.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

namespace {

class FigureReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only for a terminal: a log kept in a file reads as plain text.
  explicit FigureReporter(const std::vector<BenchFigure>& figures)
      : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular), figures_(figures) {}

  // A benchmark's time is the median of its repetitions (a single run's, without repetitions).
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      reported_.insert(run.run_name.str());
      if (run.error_occurred) failed_ = true;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!run.error_occurred && (run.run_type == Run::RT_Iteration || median)) {
        times_[run.run_name.str()] = run.GetAdjustedRealTime();
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::fflush(stdout);
    for (const BenchFigure& figure : figures_) {
      // A figure whose benchmarks a filter left out is no figure of this run.
      if (!reported_.count(figure.numerator)) continue;
      const double value =
          (Time(figure.numerator) - (figure.less.empty() ? 0 : Time(figure.less))) / figure.per /
          (figure.denominator.empty() ? 1 : Time(figure.denominator));
      if (std::isnan(value)) failed_ = true;
      PrintFigure(figure.label, value, figure.denominator.empty() ? " ms" : "", figure.target);
    }
  }

  bool failed() const { return failed_; }

 private:
  double Time(const std::string& name) const {
    const auto found = times_.find(name);
    return found == times_.end() ? NAN : found->second;
  }

  std::vector<BenchFigure> figures_;
  std::map<std::string, double> times_;
  std::set<std::string> reported_;
  bool failed_ = false;
};

}  // namespace

bool PrintFigure(const std::string& label, double value, const std::string& unit,
                 const std::optional<Target>& target) {
  const bool met = !target || (target->side == Target::Side::AtMost ? value <= target->bound
                                                                    : value >= target->bound);
  if (std::isnan(value)) {
    std::printf("%s: no figure", label.c_str());
  } else {
    const int decimals = std::fabs(value) < 10 ? 2 : std::fabs(value) < 1000 ? 1 : 0;
    std::printf("%s: %.*f%s", label.c_str(), decimals, value, unit.c_str());
  }
  if (target) {
    std::printf(" (target: %s %g%s) %s",
                target->side == Target::Side::AtMost ? "at most" : "at least", target->bound,
                unit.c_str(), met ? "met" : "MISSED");
  }
  std::printf("\n");
  std::fflush(stdout);
  return met;
}

int RunBenchmarksWithFigures(int argc, char** argv, const std::vector<BenchFigure>& figures) {
  // A shared virtual machine's times stray from run to run: each benchmark runs five times and
  // the figures take the medians. Flags given on the command line come later and win.
  std::vector<char*> arguments(argv, argv + argc);
  char repetitions[] = "--benchmark_repetitions=5";
  char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
  argc = static_cast<int>(arguments.size());
  argv = arguments.data();
  benchmark::Initialize(&argc, argv);
  FigureReporter reporter(figures);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.failed() ? 1 : 0;
}
