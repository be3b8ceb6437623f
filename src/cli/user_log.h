// The game log a command reads: the user's, found in the plug-in's data folder.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/private_directory.h"
#include "stats/game.h"
#include "stats/game_filter.h"

namespace tessik {

struct UserLog {
  std::string user;
  std::string path;  // for messages: the log is read through folder
  // The data folder, opened once (a link in its place refused): a swap of its name while the
  // command runs changes nothing it reads. Not open when there is none.
  std::shared_ptr<const Folder> folder;
};

// The log of user in <directory>/tessik/, or without a user the only log there. Throws
// DataError: a handle that cannot name a file, a data folder that cannot be opened, no log there
// (listing the logs when there are several).
UserLog FindUserLog(const std::string& directory, const std::string& user);

// Hands every game of the log, one for each record behind its marker, to visit, a batch at a time
// and in order. Throws DataError naming the file: no log, a file that cannot be read, one that is
// not a game log of this version.
void VisitGames(const UserLog& log, const std::function<void(std::span<const Game>)>& visit);

// The games of the log that keep lets through, in order. Throws as VisitGames does.
std::vector<Game> SelectGames(const UserLog& log, const std::function<bool(const Game&)>& keep);

// What every reading command works on: the games of the user's log that the filters let
// through. Each command reads the log once, keeping no more of it than it needs.
struct LogView {
  UserLog log;
  GameFilter filter;
  bool json = false;
};

// The games the view's filter lets through.
std::vector<Game> SelectedGames(const LogView& view);

// The handles with a log in the data folder, sorted.
std::vector<std::string> UsersWithALog(const Folder& folder);

}  // namespace tessik
