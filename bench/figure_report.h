// Runs the benchmarks of a program and prints, after the usual table, its figures beside their
// targets: how the times of two benchmarks compare, or one benchmark's time.
#pragma once

#include <optional>
#include <string>
#include <vector>

// A bound a figure is held to.
struct Target {
  enum class Side { AtMost, AtLeast };
  Side side;
  double bound;
};

inline Target AtMost(double bound) { return {Target::Side::AtMost, bound}; }
inline Target AtLeast(double bound) { return {Target::Side::AtLeast, bound}; }

// Prints one figure as "label: 2.08 (target: at most 3) met", "... MISSED" when it misses or
// was not taken (value NaN: "label: no figure ..."), or with no target "label: 2.08". unit
// follows the value ("", " ms", " MB"). ./run bench counts the lines that end in met or MISSED.
// Returns whether the target is met (true without one).
bool PrintFigure(const std::string& label, double value, const std::string& unit,
                 const std::optional<Target>& target);

struct BenchFigure {
  std::string label;        // "login / plain read of the same file"
  std::string numerator;    // benchmark names as the table shows them
  std::string denominator;  // empty: the figure is the numerator's time, in its unit
  std::optional<Target> target;
  std::string less = {};  // a benchmark whose time is taken from the numerator's first, or empty
  double per = 1;         // the numerator's time is divided by this (a benchmark of many steps)
};

// Each benchmark's time is the median of its five repetitions. Returns 0 when every figure was
// taken (met or not), 1 when a benchmark or a figure failed.
int RunBenchmarksWithFigures(int argc, char** argv, const std::vector<BenchFigure>& figures);
