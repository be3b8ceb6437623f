#include "import/same_game.h"

#include <cstring>

namespace tessik {

bool SameGame(const GameRecord& a, const GameRecord& b) {
  return a.wild == b.wild && a.origin == b.origin && a.reserved == b.reserved &&
         a.initialMinutes == b.initialMinutes && a.incrementSeconds == b.incrementSeconds &&
         a.rated == b.rated && a.userWhite == b.userWhite && a.result == b.result &&
         a.title == b.title && a.womanTitle == b.womanTitle && a.computer == b.computer &&
         a.pool == b.pool && a.gameKey == b.gameKey && a.startTime == b.startTime &&
         a.userRating == b.userRating && a.opponentRating == b.opponentRating &&
         std::strncmp(a.opponent, b.opponent, kOpponentBytes - 1) == 0;
}

bool SameGamePlayedLive(const GameRecord& live, const GameRecord& imported) {
  constexpr int64_t kStartLeeway = 120;  // seconds between the start datagram and the PGN's time
  int64_t apart = static_cast<int64_t>(live.startTime) - imported.startTime;
  return live.userWhite == imported.userWhite && live.result == imported.result &&
         apart <= kStartLeeway && apart >= -kStartLeeway &&
         std::strncmp(live.opponent, imported.opponent, kOpponentBytes - 1) == 0;
}

void RemoveNeighbourDuplicates(std::vector<GameRecord>& games, size_t first,
                               const std::function<void(size_t, size_t)>& removed) {
  if (games.size() <= first) return;
  size_t kept = first;  // the last record kept
  for (size_t next = first + 1; next < games.size(); ++next) {
    if (SameGame(games[kept], games[next])) {
      if (removed) removed(kept, kept + 1);
      continue;
    }
    games[++kept] = games[next];
  }
  games.resize(kept + 1);
}

}  // namespace tessik
