#include "import/rating_chains.h"

#include <gtest/gtest.h>

#include "import/elo.h"
#include "support/records.h"

namespace tessik {
namespace {

TEST(Elo, ThirtyTwoTimesTheSurpriseRoundedHalfUp) {
  // rating, the opponent's, score; the rating after
  const std::tuple<int, int, double, int> kCases[] = {
      {1500, 1500, 1, 1516},   {1500, 1600, 1, 1520}, {1600, 1500, 0, 1580},
      {1500, 1400, 0.5, 1496}, {1500, 1400, 1, 1512}, {-32768, 32767, 1, -32736},
  };
  for (auto [rating, opponent, score, after] : kCases) {
    EXPECT_EQ(EloUpdate(rating, opponent, score), after) << rating << " " << opponent;
  }
}

// The ratings before a game from which it leads to after (the opponent, when moving, by the
// same steps the other way): every rating within a change's reach (32) is tried.
std::vector<int> Before(int after, int opponent, double score, bool opponentMoves = true) {
  std::vector<int> found;
  for (int before = after - 33; before <= after + 33; ++before) {
    if (EloUpdate(before, opponent - (opponentMoves ? before - after : 0), score) == after) {
      found.push_back(before);
    }
  }
  return found;
}

// Over the 16-bit range a file can hold, the search finds exactly those ratings, walking away
// from a: downwards after a win or a draw of the lower rated.
TEST(Elo, PreGameCandidatesAreTheRatingsThatLeadToTheRatingAfter) {
  for (int a : {-32768, -32767, -1, 0, 1, 1516, 32766, 32767}) {
    for (int b : {-32768, -1, 0, 1484, 32767}) {
      for (double score : {0.0, 0.5, 1.0}) {
        std::vector<int> leading = Before(a, b, score);
        ASSERT_TRUE(leading.size() == 1 || leading.size() == 2) << a << " " << b << " " << score;
        if (score == 1.0 || (score == 0.5 && a < b)) std::swap(leading.front(), leading.back());
        PreGameRatings found = PreGameCandidates(a, b, score);
        leading.resize(2, int{leading[0]});
        EXPECT_EQ(std::vector({found.first, found.second}), leading)
            << a << " " << b << " " << score;
      }
    }
  }
}

// A rated game of ordinary chess against 1500 as the import reads it (pool 2: its clock may
// be a pool's); a game key: recorded live, with the rating before the game.
GameRecord Game(int minutes, int increment, int rating, int8_t result = kUserWon, int key = 0,
                int opponentRating = 1500) {
  GameRecord game = RatedGame("x", result, minutes, increment, rating, opponentRating);
  game.pool = 2;
  game.gameKey = key;
  return game;
}

TEST(RatingChains, PoolGamesAreFoundByFollowingBothChainsBackwards) {
  // blitz, 5-minute, bullet, 1-minute, standard, 15-minute
  const CurrentRatings ratings = {1700, 1500, 1600, 1400, 1800, 1550};
  const int before = Before(1500, 1500, 1)[0];       // a win to 1500, imported
  const int live = Before(1400, 1500, 1, false)[0];  // a win to 1400, recorded live
  const int tied = Before(1716, 1700, 1)[0];         // a win to 1716 against 1700, imported
  // the ratings; the games, oldest first; their pool marks
  const std::tuple<CurrentRatings, std::vector<GameRecord>, std::vector<int>> kCases[] = {
      {ratings, {Game(3, 2, 1500)}, {0}},  // no pool clock
      {ratings, {Game(5, 0, before), Game(5, 0, 1700), Game(5, 0, 1500)}, {1, 0, 1}},
      // a tie: chain 1 marked 2, and from then on 2 and 3
      {{1700, 1700}, {Game(5, 0, 1200), Game(5, 0, 1700), Game(5, 0, 1700)}, {2, 3, 2}},
      // a tie after a game of chain 2 goes to chain 2, marked 3
      {{tied, 1716}, {Game(5, 0, tied), Game(5, 0, 1716, kUserWon, 0, 1700)}, {3, 1}},
      // fitting neither chain, 1601 goes to the nearer, chain 1, which then expects the game
      // before it
      {{1700, 1500}, {Game(5, 0, Before(1601, 1500, 1)[0]), Game(5, 0, 1601)}, {0, 0}},
      {{0, 0, live - 1, 1400},  // recorded live: by the ratings before the games
       {Game(1, 0, 1600), Game(1, 0, Before(live, 1500, 1, false)[0], kUserWon, 7),
        Game(1, 0, live, kUserWon, 8)},
       {0, 1, 1}},
      // a win from 1500 to 1516 is on chain 1's way from 1500, though 1520 is nearer; a loss,
      // the other way
      {{1500, 1520}, {Game(5, 0, 1500, kUserWon, 7)}, {0}},
      {{1500, 1480}, {Game(5, 0, 1500, kUserLost, 7)}, {0}},
      {{-32768, 32767, 32767, -32768, 0, 32767},  // the ends of the 16-bit range
       {Game(5, 0, Before(32767, 32767, 1)[0], kUserWon, 0, 32767),
        Game(5, 0, -32768, kUserLost, 0, 32767), Game(5, 0, 32767, kUserWon, 0, 32767),
        Game(1, 0, -32768, kUserLost, 0, -32768), Game(15, 0, 32767, kDraw, 0, 32767)},
       {1, 0, 1, 1, 1}},
  };
  for (const auto& [current, games, pools] : kCases) {
    std::vector<GameRecord> log = LogOf(games);
    ReconstructRatingChains(log, current);
    std::vector<int> marks;
    for (size_t i = 1; i < log.size(); ++i) marks.push_back(log[i].pool);
    EXPECT_EQ(marks, pools);
  }
}

}  // namespace
}  // namespace tessik
