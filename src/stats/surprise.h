// Opponents by how far the user's score against them strays from what the ratings predicted.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "stats/expectation.h"
#include "stats/game.h"

namespace tessik {

struct Surprise {
  Server server = Server::Host;
  std::string opponent;  // in the letter case of the first game, as the ranking reports show it
  int games = 0;         // those whose ratings are both known
  double points = 0;     // won + half the drawn, in those games
  double expected = 0;   // from the stored ratings
  double Difference() const { return points - expected; }
};

// Every opponent with at least minGames games whose ratings are both known (the others predict
// nothing), the largest difference first; equal differences by server, then in handle order. An
// opponent is a server and a name: the names of a server are grouped without regard to case,
// the host's guests and the online servers' anonymous players left out, as in the ranking
// reports.
std::vector<Surprise> SurpriseRanking(std::span<const Game> games, int minGames,
                                      ExpectationRule rule);

}  // namespace tessik
