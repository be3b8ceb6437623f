#include "stats/expectation.h"

#include <cmath>

#include "reports/score_report.h"
#include "stats/game_kind.h"

namespace tessik {

std::optional<double> ExpectedScore(const Game& game, ExpectationRule rule) {
  if (!BothRatingsKnown(game)) return std::nullopt;
  const int difference = game.record.userRating - game.record.opponentRating;
  if (rule == ExpectationRule::Table) return ExpectedScore32(difference) / 32.0;
  return 1.0 / (1.0 + std::pow(10.0, -difference / 400.0));
}

void Expectation::Add(const Game& game, ExpectationRule rule) {
  const std::optional<double> score = ExpectedScore(game, rule);
  if (!score) {
    ++unknown;
    return;
  }
  ++games;
  expected += *score;
  scored += game.record.result == kUserWon ? 1.0 : game.record.result == kDraw ? 0.5 : 0.0;
}

}  // namespace tessik
