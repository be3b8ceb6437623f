// The user's games period by period: counts, the score, and the ratings reached.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "reports/score_report.h"
#include "stats/game.h"

namespace tessik {

enum class Period { Week, Month, Year };

struct HistoryRow {
  std::string period;  // "2024" a year, "2024-03" a month, "2024-W09" an ISO week; "undated"
  ScoreCounts counts;
  // The user's rating after the last game of each pool (PoolOf) played in the period, where the
  // rating is known.
  std::map<std::string, int> lastRatings;
};

// One row per period with games, oldest first; games of unknown date in an "undated" row before
// the others.
std::vector<HistoryRow> History(std::span<const Game> games, Period period);

// Every month from the first game of known date to the last, months without games included.
std::vector<HistoryRow> MonthlyActivity(std::span<const Game> games);

}  // namespace tessik
