// The user's whole record against one opponent, from the user's games.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reports/score_report.h"
#include "stats/expectation.h"
#include "stats/game.h"

namespace tessik {

// One game as the record against an opponent lists it.
struct PlayedGame {
  int64_t startTime = kUnknownStartTime;  // seconds UTC, the game's start
  char result = '=';                      // the user's: '+' won, '=' drawn, '-' lost
  bool white = false;
  RatingType type = kNoRatingType;
  int userRating = 0;
  int opponentRating = 0;
};

// The run of equal results at the end, and the longest runs of wins and of losses.
struct Streaks {
  char currentResult = '=';
  int current = 0;
  int longestWins = 0;
  int longestLosses = 0;
};

// A performance rating: the average rating of the opponent over the games that have one, plus
// FIDE's rating difference for the score made in them.
struct Performance {
  int rating = 0;
  int averageOpponent = 0;
  int scorePercent = 0;  // rounded to whole percent, as FIDE's table reads it
  int difference = 0;
  int games = 0;  // those it stands on: with the opponent's rating known
  bool operator==(const Performance&) const = default;
};

// Fewer games than this make a performance worth little, and the text says so.
inline constexpr int kFewGamesForAPerformance = 5;

struct HeadToHead {
  std::string opponent;  // whole when the database knows the player; else the log's 15 characters
  std::vector<std::string> lines;  // the plug-in's look-up lines, every line and expectation on
  ScoreCounts total;               // expected32: the score lines' figure, over every game
  ScoreTally tally;                // the same by rating type and colour
  Expectation expectation;         // over the games whose ratings are both known
  std::vector<PlayedGame> games;   // every game against the opponent, in the order given
  Streaks streaks;
  std::optional<Performance> performance;  // nothing without a game of known opponent rating
  // Each spelling of the opponent's name the games hold, with its server, in the order first met:
  // one opponent whatever the letter case.
  std::vector<std::pair<Server, std::string>> spellings;
};

// The games against opponent (as PlayerMatcher tells them, letter case aside) of every server
// games hold; the caller picks the games (a server, dates, ...) beforehand. The record names the
// opponent as the last game does.
HeadToHead HeadToHeadRecord(std::span<const Game> games, std::string_view opponent,
                            ExpectationRule rule = ExpectationRule::Table);

// The last count games of the record (all when fewer), oldest first.
std::vector<PlayedGame> LastGames(const HeadToHead& record, size_t count);

// FIDE's rating difference for a score in whole percent: 800 for 100, 0 for 50, negative below.
int FideRatingDifference(int percent);

// A game of the record as the lists show it; game has a result (a filter let it through).
PlayedGame PlayedGameOf(const Game& game);
// The streaks of games in the order given: the order they were played.
Streaks StreaksOf(std::span<const PlayedGame> games);
// The performance over the games of known opponent rating; nothing without one.
std::optional<Performance> PerformanceOf(std::span<const PlayedGame> games);

// What a performance stands on, summed game by game: for many opponents' games at once, read
// once without keeping them. PerformanceOf sums so.
struct PerformanceSums {
  int64_t ratings = 0;  // the opponent's, over the games where it is known
  int64_t points2 = 0;  // half points, in those games
  int64_t rated = 0;

  void Add(const PlayedGame& game);
  std::optional<Performance> Result() const;
};

}  // namespace tessik
