#include "import/old_log.h"

#include <cstdio>

#include "import/same_game.h"
#include "store/safe_save.h"

namespace tessik {

void UpgradeRecords(std::vector<GameRecord>& games) {
  for (GameRecord& game : games) {
    game.title = 1;
    game.womanTitle = 1;
    game.computer = 0;
    game.origin = 0;
    game.reserved = 0;
    game.pool = game.wild == 0 && game.rated == 1 && HasPoolClock(game) ? 2 : 0;
  }
  games.insert(games.begin(), MarkerRecord());
  RemoveNeighbourDuplicates(games, 1);
}

ConversionOutcome UpgradeOldLog(std::vector<GameRecord>& games, int dataFolder, const LogMark& read,
                                const std::string& userName, const CurrentRatings& ratings) {
  UpgradeRecords(games);
  ReconstructRatingChains(games, ratings);
  const std::string name = GameLogName(userName);
  ConversionOutcome outcome;
  outcome.error = RewriteGameLog(dataFolder, userName, read, name + ".12", name + ".10",
                                 Backup::KeepOld, GameLogPieces(games));
  return outcome;
}

}  // namespace tessik
