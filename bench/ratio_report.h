// Runs the benchmarks of a program and prints, after the usual table, how the times of two of
// them compare.
#pragma once

#include <string>
#include <vector>

struct TimeRatio {
  std::string label;      // "login / plain read of the same file"
  std::string numerator;  // benchmark names as the table shows them
  std::string denominator;
  std::string target;     // "target: at most 5", or empty
  std::string less = {};  // a benchmark whose time is taken from the numerator's first, or empty
};

int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<TimeRatio>& ratios);
