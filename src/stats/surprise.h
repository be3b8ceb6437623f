// Opponents by how far the user's score against them strays from what the ratings predicted.
#pragma once

#include <string>
#include <vector>

#include "store/game_record.h"

namespace tessik {

struct Surprise {
  std::string opponent;  // in the letter case of the first game, as the ranking reports show it
  int games = 0;
  double points = 0;    // won + half the drawn
  double expected = 0;  // from the stored ratings, as the score lines compute it
  double Difference() const { return points - expected; }
};

// Every opponent with at least minGames games (from record 1; opponents grouped without regard
// to case, guests left out, as in the ranking reports), the largest difference first; equal
// differences in handle order.
std::vector<Surprise> SurpriseRanking(const std::vector<GameRecord>& log, int minGames);

}  // namespace tessik
