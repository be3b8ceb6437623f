// The user's games period by period: counts, the score, and the ratings reached.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "reports/score_report.h"
#include "store/game_record.h"

namespace tessik {

enum class Period { Week, Month, Year };

struct HistoryRow {
  std::string period;  // "2024" a year, "2024-03" a month, "2024-W09" an ISO week; "undated"
  ScoreCounts counts;
  // The user's rating in the last game of each rating type played in the period.
  std::map<RatingType, int> lastRatings;
};

// One row per period with games (from record 1), oldest first; games of unknown date in an
// "undated" row before the others.
std::vector<HistoryRow> History(const std::vector<GameRecord>& log, Period period);

// Every month from the first game of known date to the last, months without games included.
std::vector<HistoryRow> MonthlyActivity(const std::vector<GameRecord>& log);

}  // namespace tessik
