// What the ratings predicted: the user's expected score in a game, and over games.
#pragma once

#include <optional>

#include "stats/game.h"

namespace tessik {

// How a rating difference becomes an expected score: Tessik's table of 32nds of a point (the
// score lines' figure: the Elo expectation of each difference, rounded to a 32nd), or the Elo
// expectation itself, 1 / (1 + 10^(-difference / 400)).
enum class ExpectationRule { Table, Elo };

// The user's expected score in a game of these ratings, 0 to 1; nothing when either is unknown
// (0).
std::optional<double> ExpectedScore(int userRating, int opponentRating, ExpectationRule rule);
inline std::optional<double> ExpectedScore(const Game& game, ExpectationRule rule) {
  return ExpectedScore(game.record.userRating, game.record.opponentRating, rule);
}

// The expectation over the games whose ratings are both known, and what the user scored in them.
struct Expectation {
  int games = 0;        // those with both ratings known
  double expected = 0;  // points
  double scored = 0;    // points the user made in those games
  int unknown = 0;      // games left out for a rating unknown

  // Counts a game of these ratings and the user's result (kUserWon, kDraw, kUserLost).
  void Add(int userRating, int opponentRating, int result, ExpectationRule rule);
  void Add(const Game& game, ExpectationRule rule) {
    Add(game.record.userRating, game.record.opponentRating, game.record.result, rule);
  }
};

}  // namespace tessik
