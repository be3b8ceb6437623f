#include "reports/score_report.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "store/handle.h"

namespace tessik {

namespace {

constexpr RatingType kTypesInOrder[ScoreTally::kTypes] = {
    kRatingWild,     kRatingLosers,  kRatingCrazyhouse, kRatingBullet,  kRatingBlitz,
    kRatingStandard, kRating5Minute, kRating1Minute,    kRating15Minute};

int TypeIndex(RatingType type) {
  for (int i = 0; i < ScoreTally::kTypes; ++i) {
    if (kTypesInOrder[i] == type) return i;
  }
  return 0;
}

// E / 32 with one decimal, a value exactly halfway rounded up.
std::string Points(int32_t expected32) {
  int64_t tenths = (20 * static_cast<int64_t>(expected32) + 32) / 64;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// One group's line; false when the group has no games (its line, unless silent, says so).
bool GroupLine(std::vector<std::string>& lines, const ScoreCounts& counts,
               std::string_view opponent, std::string_view suffix, std::string_view colour,
               bool silent, bool showExpected) {
  std::string name = PrintableName(opponent) + std::string(suffix) + std::string(colour);
  int32_t games = counts.Games();
  if (games == 0) {
    if (!silent) lines.push_back("No game results against " + name + " found");
    return false;
  }
  char line[160];
  std::snprintf(line, sizeof line, " +%d =%d -%d (%u%%)", counts.won, counts.drawn, counts.lost,
                ScorePercentage(counts.won, counts.drawn, counts.lost));
  std::string text = "Score against " + name + line;
  if (showExpected) {
    auto percent = static_cast<unsigned>(100.0 * counts.expected32 / (32.0 * games) + 0.5);
    text += ", expected were " + Points(counts.expected32) + " points (" + std::to_string(percent) +
            "%)";
  }
  lines.push_back(text);
  return true;
}

// The selected lines of one tally; returns the games of every colour in typeMask.
int GroupLines(std::vector<std::string>& lines, const ScoreTally& tally, std::string_view opponent,
               int selection, RatingType typeMask, bool silent, bool showExpected) {
  std::string_view suffix = RatingTypeSuffix(typeMask);
  ScoreCounts overall = tally.Sum(typeMask, kLineWhite | kLineBlack);
  // Once the overall line has said there are no games, the colours say nothing more.
  if ((selection & kLineOverall) != 0 &&
      !GroupLine(lines, overall, opponent, suffix, "", silent, showExpected)) {
    silent = true;
  }
  if ((selection & kLineWhite) != 0) {
    GroupLine(lines, tally.Sum(typeMask, kLineWhite), opponent, suffix, " with white", silent,
              showExpected);
  }
  if ((selection & kLineBlack) != 0) {
    GroupLine(lines, tally.Sum(typeMask, kLineBlack), opponent, suffix, " with black", silent,
              showExpected);
  }
  return overall.Games();
}

}  // namespace

void ScoreCounts::Add(const ScoreCounts& other) {
  won += other.won;
  drawn += other.drawn;
  lost += other.lost;
  expected32 += other.expected32;
}

void ScoreCounts::Count(const GameRecord& game) {
  if (game.result == kUserWon) ++won;
  if (game.result == kDraw) ++drawn;
  if (game.result == kUserLost) ++lost;
  expected32 += ExpectedScore32(static_cast<int32_t>(game.userRating) -
                                static_cast<int32_t>(game.opponentRating));
}

ScoreCounts ScoreTally::Sum(RatingType typeMask, int colourLines) const {
  ScoreCounts sum;
  for (int i = 0; i < kTypes; ++i) {
    if ((typeMask & kTypesInOrder[i]) == 0) continue;
    if ((colourLines & kLineWhite) != 0) sum.Add(white[i]);
    if ((colourLines & kLineBlack) != 0) sum.Add(black[i]);
  }
  return sum;
}

unsigned ScorePercentage(int32_t won, int32_t drawn, int32_t lost) {
  int64_t games = static_cast<int64_t>(won) + drawn + lost;
  if (games <= 0) return 0;
  return static_cast<unsigned>((100 * (2 * static_cast<int64_t>(won) + drawn) / games + 1) / 2);
}

int ExpectedScore32(int32_t ratingDifference) {
  static constexpr int kUpperBounds[] = {10,  32,  54,  77,  100, 124, 149, 176,
                                         205, 237, 273, 314, 364, 428, 523, 719};
  int64_t a = ratingDifference < 0 ? -static_cast<int64_t>(ratingDifference) : ratingDifference;
  int v = 32;
  for (int i = 0; i < 16; ++i) {
    if (a <= kUpperBounds[i]) {
      v = 16 + i;
      break;
    }
  }
  return ratingDifference >= 0 ? v : 32 - v;
}

ScoreTally TallyScores(const std::vector<GameRecord>& gameLog, std::string_view opponent) {
  ScoreTally tally;
  const HandleMatcher matcher(opponent);
  for (size_t i = 1; i < gameLog.size(); ++i) {
    const GameRecord& record = gameLog[i];
    if (!matcher.Matches(record)) continue;
    ScoreCounts& counts =
        (record.userWhite != 0 ? tally.white : tally.black)[TypeIndex(RatingTypeOf(record))];
    counts.Count(record);
  }
  return tally;
}

std::vector<std::string> LookupScoreLines(const std::vector<GameRecord>& gameLog,
                                          std::string_view player, const LineChoice& choice) {
  std::vector<std::string> lines;
  if (choice.overall == 0 && choice.byType == 0) return lines;  // nothing asked: no scan
  ScoreTally tally = TallyScores(gameLog, player);
  int found = 1;
  if (choice.overall != 0) {
    found = GroupLines(lines, tally, player, choice.overall, AnyRatingType, choice.silent,
                       choice.showExpected);
  }
  if (found == 0 || choice.byType == 0) return lines;
  for (RatingType type : kTypesInOrder) {
    GroupLines(lines, tally, player, choice.byType, type, true, choice.showExpected);
  }
  return lines;
}

std::vector<std::string> MatchScoreLines(const std::vector<GameRecord>& gameLog,
                                         std::string_view opponent, RatingType ratingType,
                                         const LineChoice& choice) {
  std::vector<std::string> lines;
  ScoreTally tally;  // the log is scanned only when some line is asked for
  if (choice.overall != 0 || choice.byType != 0) tally = TallyScores(gameLog, opponent);
  int found = 1;
  if (choice.overall != 0) {
    found = GroupLines(lines, tally, opponent, choice.overall, AnyRatingType, choice.silent,
                       choice.showExpected);
  }
  if (found != 0 && choice.byType != 0) {
    GroupLines(lines, tally, opponent, choice.byType, ratingType, choice.silent,
               choice.showExpected);
  }
  return lines;
}

}  // namespace tessik
