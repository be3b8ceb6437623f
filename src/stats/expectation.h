// What the ratings predicted: the user's expected score in a game, and over games.
#pragma once

#include <optional>

#include "stats/game.h"

namespace tessik {

// How a rating difference becomes an expected score: Tessik's table of 32nds of a point (the
// score lines' figure: the Elo expectation of each difference, rounded to a 32nd), or the Elo
// expectation itself, 1 / (1 + 10^(-difference / 400)).
enum class ExpectationRule { Table, Elo };

// The user's expected score in the game, 0 to 1; nothing when either rating is unknown.
std::optional<double> ExpectedScore(const Game& game, ExpectationRule rule);

// The expectation over the games whose ratings are both known, and what the user scored in them.
struct Expectation {
  int games = 0;        // those with both ratings known
  double expected = 0;  // points
  double scored = 0;    // points the user made in those games
  int unknown = 0;      // games left out for a rating unknown

  void Add(const Game& game, ExpectationRule rule);
};

}  // namespace tessik
