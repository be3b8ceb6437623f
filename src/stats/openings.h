// The user's games opening by opening, each colour apart: how they went, and what the ratings
// predicted.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "stats/expectation.h"
#include "stats/game.h"

namespace tessik {

// What groups the games: the ECO code, the whole opening name, or its family, the name before
// its first ":" ("Scandinavian Defense: Mieses-Kotroc Variation" is a Scandinavian Defense).
enum class OpeningKey { Eco, Name, Family };

// The key of a game without one (no ECO, no name; every game of the plug-in's log).
inline constexpr const char* kNoOpening = "?";

// The key that puts game in its row; kNoOpening when it has none.
std::string OpeningOf(const Game& game, OpeningKey key);

struct OpeningRow {
  bool white = true;  // the user's colour
  std::string opening;
  int won = 0, drawn = 0, lost = 0;
  Expectation expectation;  // over the row's games whose ratings are both known

  int Games() const { return won + drawn + lost; }
  // The expected points as a share of the expectation's games, in whole percent rounded half
  // up, as the score lines round theirs; nothing when no game has both ratings.
  std::optional<int> ExpectedPercentage() const;
};

// One row for each colour and key with at least minGames games: white first, the most games
// first, then in byte order of the key. Without minGames every game is in a row, those without
// a key in the row kNoOpening, so the rows add up to the games.
std::vector<OpeningRow> OpeningRows(std::span<const Game> games, OpeningKey key,
                                    ExpectationRule rule, int minGames);

}  // namespace tessik
