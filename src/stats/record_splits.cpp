#include "stats/record_splits.h"

#include "stats/game_filter.h"

namespace tessik {

std::vector<RecordSplit> RecordSplits(const HeadToHead& record, ExpectationRule rule) {
  std::vector<RecordSplit> splits;
  std::vector<RatingType> types = {AnyRatingType};
  for (RatingType type : EveryRatingType()) types.push_back(type);
  std::vector<PlayedGame> games;
  for (RatingType type : types) {
    for (int colours : {kLineWhite | kLineBlack, kLineWhite, kLineBlack}) {
      RecordSplit split{type, colours, record.tally.Sum(type, colours), {}, {}, kUnknownStartTime};
      const bool everyGame = type == AnyRatingType && colours == (kLineWhite | kLineBlack);
      if (split.counts.Games() == 0 && !everyGame) continue;
      games.clear();
      for (const PlayedGame& game : record.games) {
        if ((game.type & type) == 0 || (colours & (game.white ? kLineWhite : kLineBlack)) == 0) {
          continue;
        }
        const int result = game.result == '+' ? kUserWon : game.result == '=' ? kDraw : kUserLost;
        split.expectation.Add(game.userRating, game.opponentRating, result, rule);
        games.push_back(game);
      }
      split.performance = PerformanceOf(games);
      if (!games.empty()) split.lastGame = games.back().startTime;
      splits.push_back(split);
    }
  }
  return splits;
}

}  // namespace tessik
