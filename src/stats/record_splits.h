// The record against an opponent split as the score lines split it, in numbers: for every game
// and for each rating type played, both colours and then each.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "stats/head_to_head.h"

namespace tessik {

struct RecordSplit {
  RatingType type = AnyRatingType;  // AnyRatingType: every game
  int colours = kLineWhite | kLineBlack;
  ScoreCounts counts;
  Expectation expectation;  // over the split's games whose ratings are both known
  std::optional<Performance> performance;
  int64_t lastGame = kUnknownStartTime;  // the start of the split's last game
};

// The splits of record with games: every game first (always, games or none), then each rating
// type in flag order; within each, both colours, white, black.
std::vector<RecordSplit> RecordSplits(const HeadToHead& record, ExpectationRule rule);

}  // namespace tessik
