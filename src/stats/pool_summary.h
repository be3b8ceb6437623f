// The user's record rating pool by rating pool: the score, the ratings reached, the streaks, the
// notable games, the rating won month by month, the performance year by year, the usual clock
// and how the games ended.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "reports/score_report.h"
#include "stats/game.h"
#include "stats/game_kind.h"
#include "stats/head_to_head.h"

namespace tessik {

// A rating the user reached, and the start of the game that reached it.
struct DatedRating {
  int rating = 0;
  int64_t start = kUnknownStartTime;
};

// A win or a loss worth naming, for the opponent's rating.
struct NotableGame {
  int64_t start = kUnknownStartTime;
  int opponentRating = 0;
  std::string opponent;  // whole when the database knows the player
  std::string link;      // empty: none known (the log's games have none)
};

// What one calendar month (UTC) of rated games did to the rating.
struct MonthChange {
  std::string month;  // "2025-01"
  int before = 0;     // the rating the month's first rated game was played at
  int after = 0;      // the rating its last one left
};

struct YearPerformance {
  int year = 0;                            // UTC
  std::optional<Performance> performance;  // nothing without a game of known opponent rating
};

struct ClockCount {
  GameClock clock;
  int games = 0;
};

struct EndingCount {
  Ending ending = Ending::Unknown;
  ScoreCounts counts;
};

struct PoolSummary {
  std::string pool;  // as PoolOf names it
  ScoreCounts counts;
  // Over the ratings after each rated game of known rating: the first game to reach the
  // highest, and the lowest. Nothing without such a game.
  std::optional<DatedRating> peak, lowest;
  Streaks streaks;
  std::vector<NotableGame> bestWins;     // the highest-rated opponents beaten, highest first
  std::vector<NotableGame> worstLosses;  // the lowest-rated ones lost to, lowest first
  std::vector<MonthChange> months;       // the months with rated games of known rating, in order
  std::vector<YearPerformance> years;    // the years with games of known date, in order
  std::optional<ClockCount> usualClock;  // nothing when no game has a clock
  std::vector<EndingCount> endings;      // in kEndings order, those that occur
};

// How many wins, and losses, a pool names at most.
inline constexpr size_t kNotableGames = 3;

// One summary per pool the games are in, in the order of the pools' names. games are in the
// order they were played, as SelectedGames gives them, each with a result.
std::vector<PoolSummary> PoolSummaries(std::span<const Game> games);

}  // namespace tessik
