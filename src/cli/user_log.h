// The game log a command reads: the user's, found in the plug-in's data folder.
#pragma once

#include <string>
#include <vector>

#include "store/game_record.h"

namespace tessik {

struct UserLog {
  std::string user;
  std::string path;
  std::vector<GameRecord> records;  // record 0 the marker
};

// The log of user in <directory>/tessik/, or without a user the only log there. Throws
// DataError naming the file: a handle that cannot name a file, no log (listing the logs there
// when there are several), a file that cannot be read, one that is not a game log of this
// version.
UserLog LoadUserLog(const std::string& directory, const std::string& user);

// The handles with a log in <directory>/tessik/, sorted.
std::vector<std::string> UsersWithALog(const std::string& directory);

}  // namespace tessik
