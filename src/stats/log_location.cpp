#include "stats/log_location.h"

#include "store/game_record.h"
#include "store/handle.h"

namespace tessik {

std::string LogPathOf(const std::string& directory, const std::string& user, std::string& problem) {
  if (!IsSafeFileHandle(user)) {
    problem = "the handle \"" + PrintableName(user) + "\" cannot name a game log";
    return "";
  }
  return GameLogPath(DataDirectoryOf(directory), user);
}

}  // namespace tessik
