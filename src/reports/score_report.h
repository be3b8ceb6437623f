// Score lines against one opponent, from the game log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/game_record.h"
#include "store/rating_type.h"

namespace tessik {

// Bits of a line selection.
inline constexpr int kLineWhite = 1;
inline constexpr int kLineBlack = 2;
inline constexpr int kLineOverall = 4;

// The lines a report is asked for: overall (over every rating type) and by rating type, each a
// selection of the bits above; silent leaves out the "No game results" lines; showExpected adds
// the score the ratings predicted.
struct LineChoice {
  int overall = 0;
  int byType = 0;
  bool silent = false;
  bool showExpected = false;
};

// A finger, an assess or a name typed into the window: overall, and in each rating type with
// games.
std::vector<std::string> LookupScoreLines(const std::vector<GameRecord>& gameLog,
                                          std::string_view player, const LineChoice& choice);
// A match offer, a game start or a game end: overall, and in the rating type of the game.
std::vector<std::string> MatchScoreLines(const std::vector<GameRecord>& gameLog,
                                         std::string_view opponent, RatingType ratingType,
                                         const LineChoice& choice);

// The user's expected score in one game, in 32nds of a point, for a rating difference.
int ExpectedScore32(int32_t ratingDifference);

// Won, drawn and lost games against one opponent, and the expected score in 32nds.
struct ScoreCounts {
  int32_t won = 0;
  int32_t drawn = 0;
  int32_t lost = 0;
  int32_t expected32 = 0;

  int32_t Games() const { return won + drawn + lost; }
  void Add(const ScoreCounts& other);
  // Counts one game by its result, and the score its stored ratings predicted.
  void Count(const GameRecord& game);
};

// Counts per rating type (in flag order: wild first, 15-minute last) and colour.
struct ScoreTally {
  static constexpr int kTypes = 9;
  ScoreCounts white[kTypes];
  ScoreCounts black[kTypes];

  // The games of the types in typeMask, with one colour or both.
  ScoreCounts Sum(RatingType typeMask, int colourLines) const;
};

// One pass over the log, from record 1: every game against exactly this handle.
ScoreTally TallyScores(const std::vector<GameRecord>& gameLog, std::string_view opponent);

// Percentage scored: (100 × (2W + D) / N + 1) / 2 in whole numbers; 0 without games.
unsigned ScorePercentage(int32_t won, int32_t drawn, int32_t lost);

}  // namespace tessik
