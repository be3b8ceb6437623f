#include "stats/log_duplicates.h"

#include "import/same_game.h"

namespace tessik {

bool LogDuplicates::Take(const GameRecord& game, bool fromHostPgn) {
  auto group = groups_.find(GroupOf(game));
  if (group == groups_.end()) return false;
  for (bool playedLive : {false, true}) {
    if (playedLive && !fromHostPgn) break;
    for (Entry& entry : group->second) {
      if (entry.taken) continue;
      if (playedLive ? SameGamePlayedLive(*entry.game, game) : SameGame(*entry.game, game)) {
        return entry.taken = true;
      }
    }
  }
  return false;
}

std::string LogDuplicates::GroupOf(const GameRecord& game) {
  return std::string(OpponentName(game).substr(0, kOpponentBytes - 1)) +
         static_cast<char>(game.userWhite) + static_cast<char>(game.result);
}

}  // namespace tessik
