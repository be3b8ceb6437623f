#include "stats/head_to_head.h"

#include <algorithm>
#include <cmath>

namespace tessik {

namespace {

// FIDE's table of rating differences for scores from 0.50 to 1.00 in steps of 0.01.
constexpr int kFideDifferences[51] = {
    0,   7,   14,  21,  29,  36,  43,  50,  57,  65,  72,  80,  87,  95,  102, 110, 117,
    125, 133, 141, 149, 158, 166, 175, 184, 193, 202, 211, 220, 230, 240, 251, 262, 273,
    284, 296, 309, 322, 336, 351, 366, 383, 401, 422, 444, 470, 501, 538, 589, 677, 800};

}  // namespace

HeadToHead HeadToHeadRecord(std::span<const Game> games, std::string_view opponent,
                            ExpectationRule rule) {
  HeadToHead record;
  record.opponent = StoredHandle(opponent);
  const PlayerMatcher matcher(opponent);
  // The score lines read a log of the plug-in: the marker, then here only the games against the
  // player, so that they count no one else's, whichever server the games are of.
  std::vector<GameRecord> log = {MarkerRecord()};
  for (const Game& game : games) {
    if (!matcher.Matches(game)) continue;
    const std::string_view name = game.Opponent();
    // A player of the database is named whole (the log keeps 15 characters): the score lines
    // match the records by the first 15 and show the name they are given.
    record.opponent = name;
    if (std::find(record.spellings.begin(), record.spellings.end(),
                  std::pair{game.server, std::string(name)}) == record.spellings.end()) {
      record.spellings.emplace_back(game.server, name);
    }
    log.push_back(game.record);
    // A record of no result (a damaged one) is no game.
    if (!HasResult(game.record)) continue;
    record.games.push_back(PlayedGameOf(game));
    record.total.Count(game.record);
    record.expectation.Add(game, rule);
  }
  // The score lines count a handle as the log keeps it, letter case included: every record here
  // is against the player, so each takes the name the lines give.
  for (size_t i = 1; i < log.size(); ++i) SetOpponent(log[i], record.opponent);
  if (log.size() > 1) record.tally = TallyScores(log, OpponentName(log[1]));
  record.lines = LookupScoreLines(log, record.opponent,
                                  {kLineOverall | kLineWhite | kLineBlack,
                                   kLineOverall | kLineWhite | kLineBlack, false, true});
  record.streaks = StreaksOf(record.games);
  record.performance = PerformanceOf(record.games);
  return record;
}

int FideRatingDifference(int percent) {
  const int above = std::clamp(percent, 0, 100) - 50;
  return above >= 0 ? kFideDifferences[above] : -kFideDifferences[-above];
}

std::vector<PlayedGame> LastGames(const HeadToHead& record, size_t count) {
  const auto& games = record.games;
  return {games.end() - static_cast<ptrdiff_t>(std::min(count, games.size())), games.end()};
}

PlayedGame PlayedGameOf(const Game& game) {
  const GameRecord& record = game.record;
  return {
      game.Start(),          record.result == kUserWon ? '+' : record.result == kDraw ? '=' : '-',
      record.userWhite != 0, RatingTypeOf(record),
      record.userRating,     record.opponentRating};
}

Streaks StreaksOf(std::span<const PlayedGame> games) {
  Streaks streaks;
  for (const PlayedGame& game : games) {
    streaks.current = game.result == streaks.currentResult ? streaks.current + 1 : 1;
    streaks.currentResult = game.result;
    if (game.result == '+') streaks.longestWins = std::max(streaks.longestWins, streaks.current);
    if (game.result == '-')
      streaks.longestLosses = std::max(streaks.longestLosses, streaks.current);
  }
  return streaks;
}

std::optional<Performance> PerformanceOf(std::span<const PlayedGame> games) {
  PerformanceSums sums;
  for (const PlayedGame& game : games) sums.Add(game);
  return sums.Result();
}

void PerformanceSums::Add(const PlayedGame& game) {
  if (game.opponentRating == 0) return;  // no rating known
  ratings += game.opponentRating;
  points2 += game.result == '+' ? 2 : game.result == '=' ? 1 : 0;
  ++rated;
}

std::optional<Performance> PerformanceSums::Result() const {
  if (rated == 0) return std::nullopt;
  Performance performance;
  performance.averageOpponent =
      static_cast<int>(std::lround(static_cast<double>(ratings) / static_cast<double>(rated)));
  performance.scorePercent = static_cast<int>(
      std::lround(50.0 * static_cast<double>(points2) / static_cast<double>(rated)));
  performance.difference = FideRatingDifference(performance.scorePercent);
  performance.rating = performance.averageOpponent + performance.difference;
  performance.games = static_cast<int>(rated);
  return performance;
}

}  // namespace tessik
