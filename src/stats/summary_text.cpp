#include "stats/summary_text.h"

#include <cmath>
#include <cstdio>

#include "base/text.h"
#include "stats/game_filter.h"
#include "stats/utc_time.h"
#include "store/handle.h"

namespace tessik {

std::string OneDecimal(double value, bool withSign) {
  // Rounded to tenths first; -0.0 becomes 0.0.
  const double tenths = std::round(value * 10) + 0.0;
  if (!(std::fabs(tenths) < 1e15)) {
    char text[400];  // the longest double in full
    std::snprintf(text, sizeof text, withSign ? "%+.1f" : "%.1f", tenths / 10);
    return text;
  }
  // Written from the whole number of tenths, which a report of 50,000 rows does faster than the
  // formatting of a double.
  const auto whole = static_cast<long long>(tenths);
  const unsigned long long size = whole < 0 ? 0ULL - static_cast<unsigned long long>(whole)
                                            : static_cast<unsigned long long>(whole);
  std::string text = whole < 0 ? "-" : withSign ? "+" : "";
  text += std::to_string(size / 10);
  text += '.';
  text += static_cast<char>('0' + size % 10);
  return text;
}

const char* ResultWord(char result) {
  return result == '+' ? "won" : result == '=' ? "drawn" : "lost";
}

std::string GameText(const PlayedGame& game) {
  return DateText(game.startTime) + " " + ResultWord(game.result) + " with " +
         (game.white ? "white" : "black") + ", " + std::string(RatingTypeName(game.type));
}

std::string PointsText(double points, int games, const Expectation& e) {
  std::string text = OneDecimal(points) + " of " + std::to_string(games);
  const auto expected = [&e] {
    return "expected " + OneDecimal(e.expected) + " (" + OneDecimal(e.scored - e.expected, true) +
           ")";
  };
  if (e.unknown == 0) return text + ", " + expected();
  if (e.games == 0) return text + "; no game with both ratings known to expect from";
  return text + "; " + OneDecimal(e.scored) + " of the " + GamesText(e.games) +
         " with both ratings known, " + expected();
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
  std::vector<std::pair<std::string, std::string>> rows = {
      {"Points", PointsText(t.won + t.drawn / 2.0, t.Games(), record.expectation)},
      {"Streak", StreakText(record.streaks)},
      {"First game", GameText(record.games.front())},
      {"Last game", GameText(record.games.back())}};
  if (record.spellings.size() > 1) {
    // Each server once, with its spellings: "Kenzy34, kenzy34 (lichess); KENZY34 (chesscom)".
    std::string names;
    for (size_t i = 0; i < record.spellings.size(); ++i) {
      const Server server = record.spellings[i].first;
      bool first = true;
      for (size_t j = 0; j < i && first; ++j) first = record.spellings[j].first != server;
      if (!first) continue;
      names += names.empty() ? "" : "; ";
      std::string ofServer;
      for (size_t j = i; j < record.spellings.size(); ++j) {
        if (record.spellings[j].first != server) continue;
        ofServer += (ofServer.empty() ? "" : ", ") + PrintableName(record.spellings[j].second);
      }
      names += ofServer + " (" + std::string(ServerName(server)) + ")";
    }
    rows.emplace_back("Counted as", names);
  }
  if (const auto& p = record.performance) {
    rows.emplace_back("Performance", PerformanceText(*p));
  }
  return rows;
}

}  // namespace tessik
