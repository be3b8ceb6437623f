#include "import/elo.h"

#include <cmath>
#include <cstdlib>

namespace tessik {

int EloUpdate(int r, int o, double s) {
  double expected = 1.0 / (1.0 + std::pow(10.0, (o - r) * 0.0025));
  return r + static_cast<int>(std::floor((s - expected) * 32.0 + 0.5));
}

PreGameRatings PreGameCandidates(int a, int b, double s) {
  int direction = (s == 0.0 || (s == 0.5 && a >= b)) ? 1 : -1;
  // Each step moves the update's result by 0 or 1 towards a; a change never exceeds 32, so
  // a is reached well within this bound for any ratings a file can hold.
  constexpr int kMostSteps = 200000;
  int t = 0;
  for (int k = 0; k < kMostSteps; ++k) {
    t = k * direction;
    if (EloUpdate(a + t, b - t, s) == a) break;
  }
  int second = a + t + direction;
  if (EloUpdate(second, b - t - direction, s) != a) second = a + t;
  return {a + t, second};
}

bool IsNearer(int x, int b, int c) { return std::abs(x - c) >= std::abs(x - b); }

}  // namespace tessik
