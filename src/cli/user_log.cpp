#include "cli/user_log.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "cli/data_error.h"
#include "platform/file_error.h"
#include "stats/log_location.h"
#include "store/game_log_file.h"
#include "store/handle.h"

namespace tessik {

std::vector<std::string> UsersWithALog(const Folder& folder) {
  std::vector<std::string> users;
  const int fd = folder.IsOpen() ? dup(folder.fd()) : -1;
  DIR* entries = fd >= 0 ? fdopendir(fd) : nullptr;
  if (entries == nullptr) {
    if (fd >= 0) close(fd);
    return users;
  }
  constexpr std::string_view kLog = ".glg";
  while (const dirent* entry = readdir(entries)) {
    const std::string_view name = entry->d_name;
    struct stat info {};
    if (name.size() > kLog.size() && name.ends_with(kLog) &&
        fstatat(folder.fd(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode)) {
      users.emplace_back(name.substr(0, name.size() - kLog.size()));
    }
  }
  closedir(entries);
  std::sort(users.begin(), users.end());
  return users;
}

UserLog FindUserLog(const std::string& directory, const std::string& user) {
  auto folder = std::make_shared<Folder>();
  const std::string dataDirectory = DataDirectoryOf(directory);
  if (std::error_code error = OpenFolder(dataDirectory, *folder);
      error && error != std::errc::no_such_file_or_directory) {
    throw DataError("cannot open the data folder " + dataDirectory + ": " +
                    DescribeReadError(error));
  }
  UserLog log{user, "", folder};
  if (log.user.empty()) {
    std::vector<std::string> users = UsersWithALog(*folder);
    if (users.empty()) {
      throw DataError("no game log in " + dataDirectory +
                      " (the plug-in keeps it there; --dir names the folder it runs in)");
    }
    if (users.size() > 1) {
      std::string list;
      for (const std::string& name : users) list += " " + PrintableName(name);
      throw DataError("several users have a game log in " + dataDirectory +
                      "; pick one with --user:" + list);
    }
    log.user = users.front();
  }
  std::string problem;
  log.path = LogPathOf(directory, log.user, problem);
  if (log.path.empty()) throw DataError(problem);
  return log;
}

void VisitGames(const UserLog& log, const std::function<void(std::span<const Game>)>& visit) {
  bool first = true, marked = false;  // the first record of the file must be the marker
  std::vector<Game> batch(64);        // a few at a time
  const int folder = log.folder && log.folder->IsOpen() ? log.folder->fd() : -1;
  const std::error_code error =
      folder < 0 ? ErrnoError(ENOENT)
                 : VisitGameLogFile(folder, log.user, [&](std::span<const GameRecord> records) {
                     if (first && !records.empty()) {
                       first = false;
                       marked = HoldsMarker(records.front());
                       records = records.subspan(1);
                     }
                     while (marked && !records.empty()) {
                       const size_t count = std::min(records.size(), batch.size());
                       for (size_t i = 0; i < count; ++i) batch[i] = GameOfRecord(records[i]);
                       visit(std::span<const Game>(batch).first(count));
                       records = records.subspan(count);
                     }
                   });
  if (error) {
    throw DataError(error == std::errc::no_such_file_or_directory
                        ? "no game log of " + log.user + ": " + log.path + " is missing"
                        : "cannot read the game log " + log.path + ": " + DescribeReadError(error));
  }
  if (!marked) {
    throw DataError(log.path +
                    " is not a game log of this version (the plug-in converts an older one at the "
                    "next login)");
  }
}

std::vector<Game> SelectGames(const UserLog& log, const std::function<bool(const Game&)>& keep) {
  std::vector<Game> selected;
  VisitGames(log, [&](std::span<const Game> games) {
    std::copy_if(games.begin(), games.end(), std::back_inserter(selected), keep);
  });
  return selected;
}

std::vector<Game> SelectedGames(const LogView& view) {
  return SelectGames(view.log, [&view](const Game& game) { return Accepts(view.filter, game); });
}

}  // namespace tessik
