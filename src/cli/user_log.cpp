#include "cli/user_log.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>

#include "cli/data_error.h"
#include "platform/read_file.h"
#include "stats/log_location.h"
#include "store/game_log_file.h"
#include "store/handle.h"

namespace tessik {

std::vector<std::string> UsersWithALog(const std::string& directory) {
  std::vector<std::string> users;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(DataDirectoryOf(directory), error)) {
    const std::filesystem::path& name = entry.path();
    if (name.extension() == ".glg" && entry.is_regular_file(error)) {
      users.push_back(name.stem().string());
    }
  }
  std::sort(users.begin(), users.end());
  return users;
}

UserLog FindUserLog(const std::string& directory, const std::string& user) {
  UserLog log{user, ""};
  if (log.user.empty()) {
    std::vector<std::string> users = UsersWithALog(directory);
    if (users.empty()) {
      throw DataError("no game log in " + DataDirectoryOf(directory) +
                      " (the plug-in keeps it there; --dir names the folder it runs in)");
    }
    if (users.size() > 1) {
      std::string list;
      for (const std::string& name : users) list += " " + PrintableName(name);
      throw DataError("several users have a game log in " + DataDirectoryOf(directory) +
                      "; pick one with --user:" + list);
    }
    log.user = users.front();
  }
  std::string problem;
  log.path = LogPathOf(directory, log.user, problem);
  if (log.path.empty()) throw DataError(problem);
  return log;
}

void VisitGames(const UserLog& log, const std::function<void(std::span<const GameRecord>)>& visit) {
  bool first = true, marked = false;  // the first record of the file must be the marker
  const int error = VisitGameLogFile(log.path, [&](std::span<const GameRecord> records) {
    if (first && !records.empty()) {
      first = false;
      marked = HoldsMarker(records.front());
      records = records.subspan(1);
    }
    if (marked) visit(records);
  });
  if (error != 0) {
    throw DataError(error == ENOENT
                        ? "no game log of " + log.user + ": " + log.path + " is missing"
                        : "cannot read the game log " + log.path + ": " + DescribeReadError(error));
  }
  if (!marked) {
    throw DataError(log.path +
                    " is not a game log of this version (the plug-in converts an older one at the "
                    "next login)");
  }
}

std::vector<GameRecord> SelectGames(const UserLog& log,
                                    const std::function<bool(const GameRecord&)>& keep) {
  std::vector<GameRecord> selected = {MarkerRecord()};
  VisitGames(log, [&](std::span<const GameRecord> games) {
    std::copy_if(games.begin(), games.end(), std::back_inserter(selected), keep);
  });
  return selected;
}

std::vector<GameRecord> SelectedGames(const LogView& view) {
  return SelectGames(view.log,
                     [&view](const GameRecord& game) { return Accepts(view.filter, game); });
}

}  // namespace tessik
