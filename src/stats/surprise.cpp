#include "stats/surprise.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/text.h"
#include "stats/expectation.h"
#include "store/handle.h"

namespace tessik {

std::vector<Surprise> SurpriseRanking(std::span<const Game> games, int minGames,
                                      ExpectationRule rule) {
  // By server and folded name: handle order within a server.
  std::map<std::pair<Server, std::string>, Surprise> byOpponent;
  for (const Game& game : games) {
    const std::string_view opponent = game.Opponent();
    // The host's guests and anonymous players, and an online server's anonymous players.
    if (game.server == Server::Host ? IsGuestHandle(opponent)
                                    : IsAnonymousPlayer(game.server, opponent)) {
      continue;
    }
    // A game of an unknown rating predicts nothing: it counts in neither figure.
    const GameRecord& record = game.record;
    const std::optional<double> expected =
        ExpectedScore(record.userRating, record.opponentRating, rule);
    if (!expected) continue;
    Surprise& entry = byOpponent[{game.server, FoldedCase(opponent)}];
    if (entry.games++ == 0) {
      entry.server = game.server;
      entry.opponent = opponent;
    }
    entry.points += record.result == kUserWon ? 1.0 : record.result == kDraw ? 0.5 : 0.0;
    entry.expected += *expected;
  }
  std::vector<Surprise> ranking;
  for (const auto& [key, entry] : byOpponent) {
    if (entry.games >= minGames) ranking.push_back(entry);
  }
  std::stable_sort(ranking.begin(), ranking.end(), [](const Surprise& a, const Surprise& b) {
    return a.Difference() > b.Difference();
  });
  return ranking;
}

}  // namespace tessik
