#include <gtest/gtest.h>

#include <tuple>

#include "stats/head_to_head.h"
#include "stats/summary_text.h"
#include "stats/surprise.h"
#include "support/records.h"

namespace tessik {
namespace {

// An opponent is a server and a name: bob of the log and bob of lichess are two players, and so
// are two lichess players whose names share their first 15 characters. The log keeps only a
// handle's first 15 characters, and its letter case aside in the ranking.
TEST(Opponents, AServerAndANameMakeOne) {
  // server, opponent, result; every game between equal ratings: half a point expected
  const std::tuple<Server, std::string, int8_t> kGames[] = {
      {Server::Host, "bob", kUserWon},
      {Server::Lichess, "bob", kUserLost},
      {Server::Host, "BOB", kUserWon},
      {Server::Lichess, "magnus_fan_000001", kUserWon},
      {Server::Lichess, "magnus_fan_000002", kDraw},
      {Server::Host, "magnus_fan_000003", kDraw},  // the log's "magnus_fan_0000"
  };
  std::vector<Game> games;
  for (const auto& [server, opponent, result] : kGames) {
    games.push_back(GameOfRecord(GameAgainst(opponent, result)));
    if (server == Server::Host) continue;
    games.back().server = server;
    games.back().details = std::make_shared<GameDetails>();
    games.back().details->opponent = opponent;
  }
  std::vector<std::string> ranking;
  for (const Surprise& s : SurpriseRanking(games, 1)) {
    ranking.push_back(std::string(ServerName(s.server)) + " " + s.opponent + " " +
                      std::to_string(s.games) + " " + OneDecimal(s.Difference(), true));
  }
  EXPECT_EQ(ranking,
            (std::vector<std::string>{"kesh bob 2 +1.0", "lichess magnus_fan_000001 1 +0.5",
                                      "kesh magnus_fan_0000 1 +0.0",
                                      "lichess magnus_fan_000002 1 +0.0", "lichess bob 1 -0.5"}));
  // Head to head gathers the name's games of every server (the log's by its 15 characters), and
  // names the player whole.
  const HeadToHead record = HeadToHeadRecord(games, "magnus_fan_000002");
  EXPECT_EQ(record.games.size(), 2u);
  EXPECT_TRUE(record.lines.front().starts_with("Score against magnus_fan_000002 +0 =2 -0 "))
      << record.lines.front();
}

}  // namespace
}  // namespace tessik
