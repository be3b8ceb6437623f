#include "import/elo.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace tessik {

namespace {

double Expected(int difference) { return 1.0 / (1.0 + std::pow(10.0, difference * 0.0025)); }

// The expected score for the rating differences that games between real ratings give, computed
// once: the reconstruction asks for the same few often. Wider differences (16-bit ratings can
// differ by up to 65,535, and a search steps beyond) are computed each time.
double ExpectedFor(int difference) {
  constexpr int kReach = 1 << 12;
  if (difference <= -kReach || difference >= kReach) return Expected(difference);
  static const std::vector<double> known = [] {
    std::vector<double> table(2 * kReach);
    for (int d = -kReach; d < kReach; ++d) table[static_cast<size_t>(d + kReach)] = Expected(d);
    return table;
  }();
  return known[static_cast<size_t>(difference + kReach)];
}

}  // namespace

int EloUpdate(int r, int o, double s) {
  double expected = ExpectedFor(o - r);
  return r + static_cast<int>(std::floor((s - expected) * 32.0 + 0.5));
}

PreGameRatings PreGameCandidates(int a, int b, double s) {
  int direction = (s == 0.0 || (s == 0.5 && a >= b)) ? 1 : -1;
  // Each step moves the update's result by 0 or 1 towards a, so the search can start as many
  // steps out as the result lies from a. A change never exceeds 32: a is reached well within
  // the bound for any ratings a file can hold.
  constexpr int kMostSteps = 200000;
  int t = 0;
  for (int k = std::abs(EloUpdate(a, b, s) - a); k < kMostSteps; ++k) {
    t = k * direction;
    if (EloUpdate(a + t, b - t, s) == a) break;
  }
  int second = a + t + direction;
  if (EloUpdate(second, b - t - direction, s) != a) second = a + t;
  return {a + t, second};
}

bool IsNearer(int x, int b, int c) { return std::abs(x - c) >= std::abs(x - b); }

}  // namespace tessik
