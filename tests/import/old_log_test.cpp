#include "import/old_log.h"

#include <gtest/gtest.h>

#include "support/records.h"

namespace tessik {
namespace {

// A game as an older version logged it: values in the fields it did not keep reliably.
GameRecord OldGame(const char* opponent, int minutes, uint8_t rated = 1, uint8_t wild = 0) {
  GameRecord game = RatedGame(opponent, kUserWon, minutes);
  game.rated = rated;
  game.wild = wild;
  game.title = 7, game.womanTitle = 4, game.computer = 1, game.pool = 3;
  game.origin = kOriginLive, game.reserved = 99;
  return game;
}

// The marker goes in front; titles become unknown, computer, origin and reserved 0; a pool clock
// in a rated game of ordinary chess may mean a pool game; of neighbouring duplicates one stays.
TEST(OldLog, ConvertedRecords) {
  const std::tuple<std::vector<GameRecord>, std::vector<std::string>, std::vector<int>> kCases[] = {
      {{}, {}, {}},  // the games, then the opponents and pool marks after the conversion
      {{OldGame("bob", 15), OldGame("carl", 5, 0), OldGame("dora", 5, 1, 22), OldGame("eve", 3)},
       {"bob", "carl", "dora", "eve"},
       {2, 0, 0, 0}},
      {{OldGame("bob", 1), OldGame("bob", 1), OldGame("carl", 1), OldGame("bob", 1)},
       {"bob", "carl", "bob"},
       {2, 2, 2}},
  };
  for (const auto& [old, opponents, pools] : kCases) {
    std::vector<GameRecord> games = old;
    UpgradeRecords(games);
    ASSERT_FALSE(games.empty());
    EXPECT_EQ(EncodeGameLog({games[0]}), EncodeGameLog({MarkerRecord()}));
    EXPECT_EQ(Opponents(games), opponents);
    for (size_t i = 1; i < games.size(); ++i) {
      const GameRecord& g = games[i];
      EXPECT_EQ(std::vector<int>({g.title, g.womanTitle, g.computer, g.origin, g.reserved, g.pool}),
                std::vector<int>({1, 1, 0, 0, 0, pools[i - 1]}))
          << i;
    }
  }
}

}  // namespace
}  // namespace tessik
