#include "stats/summary_text.h"

#include <cmath>
#include <cstdio>

#include "base/text.h"
#include "stats/game_filter.h"
#include "stats/utc_time.h"

namespace tessik {

std::string OneDecimal(double value, bool withSign) {
  char text[32];
  // Rounded first, then + 0.0: -0.0 becomes 0.0.
  std::snprintf(text, sizeof text, withSign ? "%+.1f" : "%.1f", std::round(value * 10) / 10 + 0.0);
  return text;
}

const char* ResultWord(char result) {
  return result == '+' ? "won" : result == '=' ? "drawn" : "lost";
}

std::string GameText(const PlayedGame& game) {
  return DateText(game.startTime) + " " + ResultWord(game.result) + " with " +
         (game.white ? "white" : "black") + ", " + std::string(RatingTypeName(game.type));
}

std::string StreakText(const Streaks& s) {
  return "now " + std::to_string(s.current) + " " + ResultWord(s.currentResult) +
         " in a row; longest " + std::to_string(s.longestWins) + " won, " +
         std::to_string(s.longestLosses) + " lost";
}

std::string PerformanceText(const Performance& p) {
  return std::to_string(p.rating) + " (average opponent " + std::to_string(p.averageOpponent) +
         ", " + std::to_string(p.scorePercent) + "%: " + (p.difference >= 0 ? "+" : "") +
         std::to_string(p.difference) +
         (p.games < kFewGamesForAPerformance ? ", from only " + GamesText(p.games) : "") + ")";
}

std::vector<std::pair<std::string, std::string>> SummaryRows(const HeadToHead& record) {
  const ScoreCounts& t = record.total;
  if (record.games.empty()) return {};
  const double points = t.won + t.drawn / 2.0, expected = t.expected32 / 32.0;
  std::vector<std::pair<std::string, std::string>> rows = {
      {"Points", OneDecimal(points) + " of " + std::to_string(t.Games()) + ", expected " +
                     OneDecimal(expected) + " (" + OneDecimal(points - expected, true) + ")"},
      {"Streak", StreakText(record.streaks)},
      {"First game", GameText(record.games.front())},
      {"Last game", GameText(record.games.back())}};
  if (const auto& p = record.performance) {
    rows.emplace_back("Performance", PerformanceText(*p));
  }
  return rows;
}

}  // namespace tessik
