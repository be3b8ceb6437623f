#include "import/rating_chains.h"

#include <gtest/gtest.h>

#include "import/elo.h"

namespace tessik {
namespace {

// blitz, 5-minute, bullet, 1-minute, standard, 15-minute
const CurrentRatings kRatings = {1700, 1500, 1600, 1400, 1800, 1550};

GameRecord Imported(int minutes, int increment, int userRating, int8_t result = kUserWon) {
  GameRecord game;
  game.initialMinutes = minutes;
  game.incrementSeconds = static_cast<uint8_t>(increment);
  game.rated = 1;
  game.pool = 2;
  game.result = result;
  game.userRating = static_cast<int16_t>(userRating);
  game.opponentRating = 1500;
  return game;
}

std::vector<GameRecord> Log(std::initializer_list<GameRecord> games) {
  std::vector<GameRecord> log = {MarkerRecord()};
  log.insert(log.end(), games);
  return log;
}

TEST(RatingChains, MarkerAloneIsLeftUnchanged) {
  std::vector<GameRecord> log = Log({});
  ReconstructRatingChains(log, kRatings);
  EXPECT_EQ(log[0].pool, MarkerRecord().pool);
  EXPECT_EQ(log.size(), 1u);
}

TEST(RatingChains, GameWithAnIncrementIsNoPoolGame) {
  std::vector<GameRecord> log = Log({Imported(3, 2, 1500)});  // d = 13: pass 1
  ReconstructRatingChains(log, kRatings);
  EXPECT_EQ(log[1].pool, 0);
}

TEST(RatingChains, NewestGameOnThePoolRatingGoesToThePool) {
  std::vector<GameRecord> log = Log({Imported(5, 0, kRatings[1])});
  ReconstructRatingChains(log, kRatings);
  EXPECT_EQ(log[1].pool, 1);
  log = Log({Imported(5, 0, kRatings[0])});  // on the blitz rating instead
  ReconstructRatingChains(log, kRatings);
  EXPECT_EQ(log[1].pool, 0);
}

TEST(RatingChains, ChainsAreFollowedBackwards) {
  // Newest last. The 5-minute chain: 1484 won -> 1500 (now). The blitz chain: 1700 now.
  int before = PreGameCandidates(1500, 1500, 1).first;
  std::vector<GameRecord> log =
      Log({Imported(5, 0, before, kUserWon), Imported(5, 0, 1700), Imported(5, 0, 1500)});
  ReconstructRatingChains(log, kRatings);
  EXPECT_EQ(log[3].pool, 1);  // 1500: the 5-minute rating
  EXPECT_EQ(log[2].pool, 0);  // 1700: the blitz rating
  EXPECT_EQ(log[1].pool, 1);  // leads to the 5-minute game after it
}

TEST(RatingChains, AfterTheFirstTieMarksAreTwoAndThree) {
  CurrentRatings equal = kRatings;
  equal[1] = equal[0];  // blitz and 5-minute alike: the newest game fits both
  std::vector<GameRecord> log =
      Log({Imported(5, 0, 1200), Imported(5, 0, 1700), Imported(5, 0, 1700)});
  ReconstructRatingChains(log, equal);
  EXPECT_EQ(log[3].pool, 2);  // a tie, equal counts: chain 1, and from now on 2 and 3
  EXPECT_EQ(log[2].pool, 3);  // fits chain 2 exactly, chain 1 only in its range
  EXPECT_EQ(log[1].pool, 2);  // fits neither: both chains are equally near, chain 1
}

TEST(RatingChains, GamesOutsideEveryPassKeepTheirMark) {
  GameRecord variant = Imported(5, 0, 1500);
  variant.wild = 23;
  GameRecord unrated = Imported(5, 0, 1500);
  unrated.rated = 0;
  GameRecord noTime = Imported(0, 0, 1500);
  std::vector<GameRecord> log = Log({variant, unrated, noTime});
  ReconstructRatingChains(log, kRatings);
  for (size_t i = 1; i < log.size(); ++i) EXPECT_EQ(log[i].pool, 2) << i;
}

// A rating before a won game against 1500 that leads to after.
int16_t RatingBeforeWin(int after) {
  for (int before = after - 40; before <= after; ++before) {
    if (EloUpdate(before, 1500, 1) == after) return static_cast<int16_t>(before);
  }
  ADD_FAILURE() << "no rating leads to " << after;
  return 0;
}

TEST(RatingChains, LiveGamesAreJudgedByTheRatingsBeforeThem) {
  GameRecord live = Imported(1, 0, 0);
  live.gameKey = 77;
  live.userRating = RatingBeforeWin(kRatings[3]);
  std::vector<GameRecord> log = Log({Imported(1, 0, 1600), live});
  ReconstructRatingChains(log, kRatings);
  EXPECT_EQ(log[2].pool, 1);  // its result leads to the 1-minute rating
  EXPECT_EQ(log[1].pool, 0);  // 1600: bullet
}

TEST(RatingChains, ExtremeRatingsEndEveryLoop) {
  std::vector<GameRecord> log = Log({Imported(5, 0, -32768), Imported(5, 0, 32767, kUserLost),
                                     Imported(15, 0, 0, kDraw), Imported(1, 0, -1)});
  ReconstructRatingChains(log, {32767, -32768, 0, 0, -1, 32767});
  SUCCEED();
}

}  // namespace
}  // namespace tessik
