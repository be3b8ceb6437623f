#include "cli/figures_json.h"

#include "stats/summary_text.h"

namespace tessik {

Json CountsJson(const ScoreCounts& counts) {
  return {{"games", counts.Games()},
          {"won", counts.won},
          {"drawn", counts.drawn},
          {"lost", counts.lost},
          {"percentage", ScorePercentage(counts.won, counts.drawn, counts.lost)}};
}

Json StreaksJson(const Streaks& streaks) {
  return {{"current", {{"result", ResultWord(streaks.currentResult)}, {"games", streaks.current}}},
          {"longest_won", streaks.longestWins},
          {"longest_lost", streaks.longestLosses}};
}

Json PerformanceJson(const std::optional<Performance>& performance) {
  if (!performance) return Json();
  return {{"rating", performance->rating},
          {"average_opponent_rating", performance->averageOpponent},
          {"score_percent", performance->scorePercent},
          {"rating_difference", performance->difference},
          {"games", performance->games}};
}

}  // namespace tessik
