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
    bool poolClock =
        game.incrementSeconds == 0 &&
        (game.initialMinutes == 1 || game.initialMinutes == 5 || game.initialMinutes == 15);
    game.pool = game.wild == 0 && game.rated == 1 && poolClock ? 2 : 0;
  }
  games.insert(games.begin(), MarkerRecord());
  RemoveNeighbourDuplicates(games, 1);
}

ConversionOutcome UpgradeOldLog(std::vector<GameRecord>& games, int formatVersion,
                                const std::string& dataDirectory, const std::string& userName,
                                const CurrentRatings& ratings) {
  if (formatVersion <= 120) {
    UpgradeRecords(games);
    ReconstructRatingChains(games, ratings);
  }
  const std::string path = dataDirectory + userName + ".glg";
  ConversionOutcome outcome;
  FileCause cause = WriteWholeFile(path + ".12", EncodeGameLog(games));
  if (cause == kFileNone) cause = KeepAsBackup(path, path + ".10");
  if (cause == kFileNone && std::rename((path + ".12").c_str(), path.c_str()) != 0) {
    cause = FileCauseFromErrno(errno);
  }
  outcome.written = cause == kFileNone;
  if (!outcome.written) {
    outcome.problem = DescribeFileCause(cause);
  }
  return outcome;
}

}  // namespace tessik
