#include "import/rating_chains.h"

#include "import/elo.h"

namespace tessik {

namespace {

struct Pass {
  uint32_t fromDuration;  // d in [from, to)
  uint32_t toDuration;
  int32_t poolMinutes;
  size_t categoryRating;  // index into the current ratings: chain 1
  size_t poolRating;      // chain 2
};

constexpr Pass kPasses[] = {
    {9, 45, 5, 0, 1},      // blitz and 5-minute
    {1, 9, 1, 2, 3},       // bullet and 1-minute
    {45, 4000, 15, 4, 5},  // standard and 15-minute
};

constexpr int kNotACandidate = 3;

double Score(const GameRecord& game) { return (1 - game.result) / 2.0; }

bool Eligible(const GameRecord& game, const Pass& pass) {
  int64_t duration = ExpectedDuration(game);
  return duration >= pass.fromDuration && duration < pass.toDuration && game.wild == 0 &&
         game.rated == 1;
}

bool OfPoolClock(const GameRecord& game, const Pass& pass) {
  return HasPoolClock(game) && game.initialMinutes == pass.poolMinutes;
}

bool PoolCandidate(const GameRecord& game, const Pass& pass) {
  return OfPoolClock(game, pass) && game.pool != 0;
}

// Whether value lies between from (included) and to (excluded), in either direction.
bool Between(int from, int value, int to) {
  return (from <= value && value < to) || (to < value && value <= from);
}

// One pass: the tie flag, the counts, and the mark of the chosen chain.
class PassState {
 public:
  explicit PassState(const Pass& pass) : pass_(pass) {}

  // Picks chain 1 or 2 for a game from the two fits; compared is the rating set against the
  // chains' values nearer1 and nearer2. Marks the game and returns the chain.
  int Choose(GameRecord& game, int fit1, int fit2, int compared, int nearer1, int nearer2) {
    int chain;
    if (fit1 > fit2) {
      chain = 1;
      if (OfPoolClock(game, pass_)) ++count1_;
    } else if (fit2 > fit1) {
      chain = 2;
      ++count2_;
    } else {
      if (fit1 == 0) {
        chain = IsNearer(compared, nearer1, nearer2) ? 1 : 2;
      } else {
        tie_ = 2;
        chain = count2_ > count1_ ? 2 : 1;
      }
      ++(chain == 1 ? count1_ : count2_);
    }
    if (chain == 2) {
      game.pool = static_cast<uint8_t>(tie_ + 1);
    } else {
      game.pool = static_cast<uint8_t>(fit1 == kNotACandidate ? 0 : tie_);
    }
    return chain;
  }

 private:
  const Pass& pass_;
  int tie_ = 0;
  int count1_ = 0;
  int count2_ = 0;
};

// Phase 1: fit of a chain expecting rating expected, for a live game (ratings before it). Only
// the category chain (chain 1) can rate a game that is no pool candidate.
int LiveFit(const GameRecord& game, const Pass& pass, int post, int expected, int chain) {
  if (chain == 1 && !PoolCandidate(game, pass)) return kNotACandidate;
  if (post == expected) return 2;
  return Between(game.userRating, expected, post) ? 1 : 0;
}

struct Expectation {
  int first;   // A
  int second;  // B
  int last;    // L
};

// Phase 2: fit for an imported game (ratings after it).
int ImportedFit(const GameRecord& game, const Pass& pass, const Expectation& expected, int chain) {
  if (chain == 1 && !PoolCandidate(game, pass)) return kNotACandidate;
  int rating = game.userRating;
  if (rating == expected.second || rating == expected.first) return 2;
  return Between(expected.last, rating, expected.first) ? 1 : 0;
}

void RunPass(std::vector<GameRecord>& games, const Pass& pass, const CurrentRatings& ratings) {
  PassState state(pass);
  int expected[3] = {0, ratings[pass.categoryRating], ratings[pass.poolRating]};
  size_t index = games.size();
  // Phase 1, the games recorded live, newest first, down to the first imported record.
  while (index > 0 && games[index - 1].gameKey != 0) {
    GameRecord& game = games[--index];
    if (!Eligible(game, pass)) continue;
    int post = EloUpdate(game.userRating, game.opponentRating, Score(game));
    int fit1 = LiveFit(game, pass, post, expected[1], 1);
    int fit2 = LiveFit(game, pass, post, expected[2], 2);
    int chain = state.Choose(game, fit1, fit2, post, expected[1], expected[2]);
    expected[chain] = game.userRating;
  }
  // Phase 2, every other game down to record 1.
  Expectation chains[3] = {
      {}, {expected[1], expected[1], expected[1]}, {expected[2], expected[2], expected[2]}};
  for (; index > 1; --index) {
    GameRecord& game = games[index - 1];
    if (!Eligible(game, pass)) continue;
    int fit1 = ImportedFit(game, pass, chains[1], 1);
    int fit2 = ImportedFit(game, pass, chains[2], 2);
    int chain = state.Choose(game, fit1, fit2, game.userRating, chains[1].second, chains[2].second);
    PreGameRatings before = PreGameCandidates(game.userRating, game.opponentRating, Score(game));
    chains[chain] = {before.first, before.second, game.userRating};
  }
}

}  // namespace

void ReconstructRatingChains(std::vector<GameRecord>& games, const CurrentRatings& ratings) {
  for (const Pass& pass : kPasses) RunPass(games, pass, ratings);
}

}  // namespace tessik
