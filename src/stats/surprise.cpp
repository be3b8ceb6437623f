#include "stats/surprise.h"

#include <algorithm>
#include <map>

#include "base/text.h"
#include "reports/score_report.h"
#include "store/handle.h"

namespace tessik {

std::vector<Surprise> SurpriseRanking(const std::vector<GameRecord>& log, int minGames) {
  std::map<std::string, Surprise> byHandle;  // by the folded handle: handle order
  for (size_t i = 1; i < log.size(); ++i) {
    const GameRecord& game = log[i];
    const std::string_view name = OpponentName(game);
    if (IsGuestHandle(name)) continue;
    Surprise& entry = byHandle[FoldedCase(name)];
    if (entry.games++ == 0) entry.opponent = name;
    entry.points += game.result == kUserWon ? 1.0 : game.result == kDraw ? 0.5 : 0.0;
    entry.expected +=
        ExpectedScore32(int32_t{game.userRating} - int32_t{game.opponentRating}) / 32.0;
  }
  std::vector<Surprise> ranking;
  for (const auto& [key, entry] : byHandle) {
    if (entry.games >= minGames) ranking.push_back(entry);
  }
  std::stable_sort(ranking.begin(), ranking.end(), [](const Surprise& a, const Surprise& b) {
    return a.Difference() > b.Difference();
  });
  return ranking;
}

}  // namespace tessik
