#include "stats/expectation.h"

#include <cmath>

#include "reports/score_report.h"

namespace tessik {

std::optional<double> ExpectedScore(int userRating, int opponentRating, ExpectationRule rule) {
  if (userRating == 0 || opponentRating == 0) return std::nullopt;
  const int difference = userRating - opponentRating;
  if (rule == ExpectationRule::Table) return ExpectedScore32(difference) / 32.0;
  return 1.0 / (1.0 + std::pow(10.0, -difference / 400.0));
}

void Expectation::Add(int userRating, int opponentRating, int result, ExpectationRule rule) {
  const std::optional<double> score = ExpectedScore(userRating, opponentRating, rule);
  if (!score) {
    ++unknown;
    return;
  }
  ++games;
  expected += *score;
  scored += result == kUserWon ? 1.0 : result == kDraw ? 0.5 : 0.0;
}

}  // namespace tessik
