#include "reports/score_report.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "session/plugin_app.h"
#include "session/settings.h"
#include "store/handle.h"

namespace tessik {

int16_t g_colourFilter = 3;

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

// Tells whether a record's opponent field holds one handle as the log keeps it: its first 15
// characters, then a NUL when it is shorter. Compares the field as two words under a mask.
class HandleMatcher {
 public:
  explicit HandleMatcher(std::string_view handle) {
    handle = StoredHandle(handle);
    unsigned char key[kOpponentBytes] = {};
    unsigned char mask[kOpponentBytes] = {};
    std::memcpy(key, handle.data(), handle.size());
    std::memset(mask, 0xFF, std::min(handle.size() + 1, kOpponentBytes - 1));
    std::memcpy(key_, key, sizeof key_);
    std::memcpy(mask_, mask, sizeof mask_);
  }
  bool Matches(const GameRecord& record) const {
    uint64_t field[2];
    std::memcpy(field, record.opponent, sizeof field);
    return ((field[0] & mask_[0]) == key_[0]) & ((field[1] & mask_[1]) == key_[1]);
  }

 private:
  uint64_t key_[2];
  uint64_t mask_[2];
};

// E / 32 with one decimal, a value exactly halfway rounded up.
std::string Points(int32_t expected32) {
  int64_t tenths = (20 * static_cast<int64_t>(expected32) + 32) / 64;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Prints one group's line; false when the group has no games.
bool PrintGroup(CPluginApp& app, const ScoreCounts& counts, std::string_view opponent,
                std::string_view suffix, std::string_view colour, bool silent) {
  std::string name = PrintableName(opponent) + std::string(suffix) + std::string(colour);
  int32_t games = counts.Games();
  if (games == 0) {
    if (!silent) OutputStatLine(app, "No game results against " + name + " found");
    return false;
  }
  char line[160];
  std::snprintf(line, sizeof line, " +%d =%d -%d (%u%%)", counts.won, counts.drawn, counts.lost,
                ScorePercentage(counts.won, counts.drawn, counts.lost));
  std::string text = "Score against " + name + line;
  if (settings.showExpectedScore != 0) {
    auto percent = static_cast<unsigned>(100.0 * counts.expected32 / (32.0 * games) + 0.5);
    text += ", expected were " + Points(counts.expected32) + " points (" + std::to_string(percent) +
            "%)";
  }
  OutputStatLine(app, text);
  return true;
}

// Prints the selected lines of one tally; returns the games of every colour in typeMask.
int PrintScoreLines(CPluginApp& app, const ScoreTally& tally, std::string_view opponent, int lines,
                    RatingType typeMask, bool silent) {
  std::string_view suffix = RatingTypeSuffix(typeMask);
  ScoreCounts overall = tally.Sum(typeMask, kLineWhite | kLineBlack);
  // Once the overall line has said there are no games, the colours say nothing more.
  if ((lines & kLineOverall) != 0 && !PrintGroup(app, overall, opponent, suffix, "", silent)) {
    silent = true;
  }
  if ((lines & kLineWhite) != 0) {
    PrintGroup(app, tally.Sum(typeMask, kLineWhite), opponent, suffix, " with white", silent);
  }
  if ((lines & kLineBlack) != 0) {
    PrintGroup(app, tally.Sum(typeMask, kLineBlack), opponent, suffix, " with black", silent);
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
    if (record.result == kUserWon) ++counts.won;
    if (record.result == kDraw) ++counts.drawn;
    if (record.result == kUserLost) ++counts.lost;
    counts.expected32 += ExpectedScore32(static_cast<int32_t>(record.userRating) -
                                         static_cast<int32_t>(record.opponentRating));
  }
  return tally;
}

void ShowScoreForLookup(CPluginApp& app, std::string_view player) {
  int lines = (settings.fingerAssessDisplayAll != 0 ? kLineOverall : 0) +
              (settings.fingerAssessDisplayAllBw != 0 ? kLineWhite | kLineBlack : 0);
  int linesByType = (settings.fingerAssessDisplayRtypes != 0 ? kLineOverall : 0) +
                    (settings.fingerAssessDisplayRtypesBw != 0 ? kLineWhite | kLineBlack : 0);
  if (lines == 0 && linesByType == 0) return;  // nothing asked for: no scan of the log
  ScoreTally tally = TallyScores(app.gameLog, player);
  int found = 1;
  if (lines != 0) {
    found =
        PrintScoreLines(app, tally, player, lines, AnyRatingType, settings.silentIfNoGames != 0);
  }
  if (found == 0 || linesByType == 0) return;
  for (RatingType type : kTypesInOrder) {
    PrintScoreLines(app, tally, player, linesByType, type, true);
  }
}

void ShowScoreForMatch(CPluginApp& app, std::string_view opponent, RatingType ratingType) {
  bool silent = settings.silentIfNoGames != 0;
  int lines = (settings.matchEtcDisplayAll != 0 ? kLineOverall : 0) +
              (settings.matchEtcDisplayAllBw != 0 ? g_colourFilter : 0);
  int linesByType = (settings.matchEtcDisplayRtype != 0 ? kLineOverall : 0) +
                    (settings.matchEtcDisplayRtypeBw != 0 ? g_colourFilter : 0);
  ScoreTally tally;  // the log is scanned only when some line is asked for
  if (lines != 0 || linesByType != 0) tally = TallyScores(app.gameLog, opponent);
  int found = 1;
  if (lines != 0) found = PrintScoreLines(app, tally, opponent, lines, AnyRatingType, silent);
  if (found != 0 && linesByType != 0) {
    PrintScoreLines(app, tally, opponent, linesByType, ratingType, silent);
  }
  g_colourFilter = 3;
}

}  // namespace tessik
