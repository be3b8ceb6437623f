#include "record/user_log.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <set>

#include "database/database_error.h"
#include "database/game_rows.h"
#include "platform/file_error.h"
#include "platform/side_by_side.h"
#include "record/data_error.h"
#include "stats/closest_handles.h"
#include "stats/log_duplicates.h"
#include "stats/log_location.h"
#include "stats/whole_record.h"
#include "store/game_log_file.h"
#include "store/handle.h"

namespace tessik {

namespace {

// The names of the regular files in folder that end with suffix, without it, sorted.
std::vector<std::string> NamesEndingWith(const Folder& folder, std::string_view suffix) {
  std::vector<std::string> names;
  const int fd = folder.IsOpen() ? dup(folder.fd()) : -1;
  DIR* entries = fd >= 0 ? fdopendir(fd) : nullptr;
  if (entries == nullptr) {
    if (fd >= 0) close(fd);
    return names;
  }
  while (const dirent* entry = readdir(entries)) {
    const std::string_view name = entry->d_name;
    struct stat info {};
    if (name.size() > suffix.size() && name.ends_with(suffix) &&
        fstatat(folder.fd(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode)) {
      names.emplace_back(name.substr(0, name.size() - suffix.size()));
    }
  }
  closedir(entries);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> UsersWithALog(const Folder& folder) {
  return NamesEndingWith(folder, ".glg");
}

std::set<std::string> UsersWithARecord(const std::string& directory) {
  std::set<std::string> users;
  Folder folder;
  if (!OpenFolder(DataDirectoryOf(directory), folder)) {
    for (std::string& user : UsersWithALog(folder)) users.insert(std::move(user));
  }
  if (!OpenFolder(DefaultDatabaseFolder(), folder)) {
    for (std::string& user : NamesEndingWith(folder, ".sqlite")) users.insert(std::move(user));
  }
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

void VisitLogRecords(const UserLog& log,
                     const std::function<void(std::span<const GameRecord>)>& visit,
                     const RecordChoice& choice) {
  bool first = true, marked = false;  // the first record of the file must be the marker
  const int folder = log.folder && log.folder->IsOpen() ? log.folder->fd() : -1;
  const std::error_code error = folder < 0 ? ErrnoError(ENOENT)
                                           : VisitGameLogFile(
                                                 folder, log.user,
                                                 [&](std::span<const GameRecord> records) {
                                                   if (first && !records.empty()) {
                                                     first = false;
                                                     marked = HoldsMarker(records.front());
                                                     records = records.subspan(1);
                                                   }
                                                   if (marked && !records.empty()) visit(records);
                                                 },
                                                 choice);
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

void VisitGames(const UserLog& log, const std::function<void(std::span<const Game>)>& visit,
                const RecordChoice& choice) {
  std::vector<Game> batch(64);  // a few at a time
  VisitLogRecords(
      log,
      [&](std::span<const GameRecord> records) {
        while (!records.empty()) {
          const size_t count = std::min(records.size(), batch.size());
          for (size_t i = 0; i < count; ++i) batch[i] = GameOfRecord(records[i]);
          visit(std::span<const Game>(batch).first(count));
          records = records.subspan(count);
        }
      },
      choice);
}

std::vector<Game> SelectGames(const UserLog& log, const std::function<bool(const Game&)>& keep,
                              const RecordChoice& choice) {
  std::vector<Game> selected;
  VisitGames(
      log,
      [&](std::span<const Game> games) {
        std::copy_if(games.begin(), games.end(), std::back_inserter(selected), keep);
      },
      choice);
  return selected;
}

namespace {

// Whether the log's file is there (of any kind: reading it says what is wrong with it).
bool LogExists(const UserLog& log) {
  struct stat info {};
  return log.folder && log.folder->IsOpen() &&
         fstatat(log.folder->fd(), GameLogName(log.user).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// The only user with a database in the default folder; empty when there is none or several.
std::string OnlyDatabaseUser() {
  Folder folder;
  if (OpenFolder(DefaultDatabaseFolder(), folder)) return "";
  const std::vector<std::string> users = NamesEndingWith(folder, ".sqlite");
  return users.size() == 1 ? users.front() : "";
}

// The message for a --user with neither a log nor a database: what was looked for, and the users
// whose name is the one given in another letter case or begins with it, else the closest.
std::string NoRecordOfUser(const LogPlace& place) {
  const std::set<std::string> users = UsersWithARecord(place.directory);
  std::string message = "no game log of " + PrintableName(place.user) + " in " +
                        DataDirectoryOf(place.directory) + " and no database " +
                        PrintableName(DatabasePlaceOf(place.database, place.user).Path());
  std::vector<std::string> meant = NamesBeginningWith(users, place.user);
  if (meant.empty()) meant = ClosestNames(users, place.user, 1);
  for (size_t i = 0; i < meant.size(); ++i) {
    message += (i == 0 ? "; did you mean " : " or ") + PrintableName(meant[i]);
  }
  return meant.empty() ? message : message + "?";
}

}  // namespace

LogView OpenRecord(const LogPlace& place, const GameFilter& filter, bool json) {
  LogView view{{}, filter, json, true, nullptr};
  const char* variable = std::getenv(kDatabaseVariable);
  const bool namedDatabase = !place.database.empty() || (variable != nullptr && *variable != 0);
  std::string user = place.user;
  if (user.empty()) {
    // Without a log in the folder, the database may still say whose record it is.
    Folder folder;
    const bool anyLog =
        !OpenFolder(DataDirectoryOf(place.directory), folder) && !UsersWithALog(folder).empty();
    if (!anyLog && !namedDatabase) user = OnlyDatabaseUser();
  }
  if (!user.empty() || !namedDatabase) view.log = FindUserLog(place.directory, user);
  try {
    if (namedDatabase || !view.log.user.empty()) {
      auto database =
          std::make_shared<RecordDatabase>(DatabasePlaceOf(place.database, view.log.user), false);
      if (database->IsOpen()) view.database = std::move(database);
    }
  } catch (const DatabaseError& error) {
    throw DataError(error.what());
  }
  if (!view.database && view.log.user.empty()) {
    throw DataError("no game log in " + DataDirectoryOf(place.directory) + " and no database " +
                    PrintableName(DatabasePlaceOf(place.database, "").Path()));
  }
  view.logPresent = !view.database || LogExists(view.log);
  if (!place.user.empty() && !view.database && !LogExists(view.log)) {
    throw DataError(NoRecordOfUser(place));
  }
  return view;
}

namespace {

// Runs read on the view's database. Throws DataError when the database cannot be read.
template <class Read>
void ReadDatabase(const LogView& view, Read read) {
  try {
    read(view.database->sql());
  } catch (const SQLite::Exception& error) {
    throw DataError("cannot read the database " + PrintableName(view.database->path()) + ": " +
                    error.what());
  }
}

// The games of the log and the database that keep lets through, the database asked only for
// those that query lets through.
std::vector<Game> SelectRecord(const LogView& view, const std::function<bool(const Game&)>& keep,
                               const GameFilter& query,
                               const std::optional<std::string>& opponent) {
  std::vector<Game> log;
  if (view.logPresent) {
    // Most records of a log against one player are not even decoded.
    const std::optional<HandleMatcher> against =
        opponent ? std::optional<HandleMatcher>(std::in_place, *opponent, true) : std::nullopt;
    log = SelectGames(view.log, keep, {against ? &*against : nullptr, std::nullopt});
  }
  if (!view.database) return log;
  std::vector<Game> database;
  ReadDatabase(view, [&](SQLite::Database& sql) { database = LoadGames(sql, query, opponent); });
  std::erase_if(database, [&keep](const Game& game) { return !keep(game); });
  return WholeRecord(std::move(log), std::move(database));
}

}  // namespace

std::vector<Game> SelectRecord(const LogView& view, const std::function<bool(const Game&)>& keep,
                               const std::optional<std::string>& opponent) {
  GameFilter serverOnly;  // keep judges the rest
  serverOnly.server = view.filter.server;
  return SelectRecord(view, keep, serverOnly, opponent);
}

std::vector<Game> SelectedGames(const LogView& view) {
  return SelectRecord(
      view, [&view](const Game& game) { return Accepts(view.filter, game); }, view.filter,
      std::nullopt);
}

void VisitRecordResults(const LogView& view, const RecordResultVisitor& visit) {
  if (view.filter.AsksTheGame()) {
    // The database's query does not hold those conditions: each game is judged whole.
    for (const Game& game : SelectedGames(view)) {
      if (game.details) {
        visit.game(game.server, game.Opponent(), game.record);
      } else {
        visit.logGames({&game.record, 1});
      }
    }
    return;
  }
  const auto accepted = [&view](const Game& game) { return Accepts(view.filter, game); };
  if (!view.database) {
    // The log alone is counted as it is read, a batch of records at a time: none of its games is
    // kept, and none is made a Game but to be judged.
    const bool everyGame = view.filter.TakesEveryLogGame();
    // Each core reads the whole log, and judges and counts the games of its part alone: the
    // copy out of the page cache costs little beside the count, and neither core waits.
    std::array<std::exception_ptr, kCountParts> failures;
    SideBySide(kCountParts, [&](size_t part) {
      try {
        std::vector<GameRecord> kept;
        VisitLogRecords(view.log,
                        [&](std::span<const GameRecord> records) {
                          // Without a filter, a batch of games that all have a result goes whole.
                          if (everyGame && std::all_of(records.begin(), records.end(), HasResult)) {
                            return visit.logPart(part, records);
                          }
                          kept.clear();
                          for (const GameRecord& record : records) {
                            if (accepted(GameOfRecord(record))) kept.push_back(record);
                          }
                          visit.logPart(part, kept);
                        },
                        {nullptr, part});
      } catch (...) {
        failures[part] = std::current_exception();
      }
    });
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }
    return;
  }
  std::vector<Game> log;
  if (view.logPresent) log = SelectGames(view.log, accepted);
  LogDuplicates held;  // as WholeRecord finds them
  for (const Game& game : log) {
    held.Add(game.record);
    visit.logGames({&game.record, 1});
  }
  ReadDatabase(view, [&](SQLite::Database& sql) {
    VisitGameResults(sql, view.filter,
                     [&](Server server, std::string_view opponent, const GameRecord& record) {
                       if (!held.Take(record, server == Server::Host)) {
                         visit.game(server, opponent, record);
                       }
                     });
  });
}

std::string CountedSources(const LogView& view) {
  if (!view.database) return "";
  std::string text;
  if (view.logPresent && (!view.filter.server || *view.filter.server == Server::Host)) {
    text = "the plug-in's log (" + std::string(ServerName(Server::Host)) + ")";
  }
  // The servers the filter lets through that the database holds games of, each found by one
  // look-up in the index of the games' ids (server first), in their names' order.
  std::vector<std::string> servers;
  ReadDatabase(view, [&](SQLite::Database& sql) {
    SQLite::Statement holds(sql, "SELECT EXISTS (SELECT 1 FROM games WHERE server = ?)");
    for (const Server server : kServers) {
      if (view.filter.server && server != *view.filter.server) continue;
      holds.bind(1, std::string(ServerName(server)));
      if (holds.executeStep() && holds.getColumn(0).getInt() != 0) {
        servers.emplace_back(ServerName(server));
      }
      holds.reset();
    }
  });
  std::sort(servers.begin(), servers.end());
  text += std::string(text.empty() ? "" : "; ") + "the database " +
          PrintableName(view.database->path());
  if (!servers.empty()) {
    text += " (";
    for (size_t i = 0; i < servers.size(); ++i) text += (i == 0 ? "" : ", ") + servers[i];
    text += ")";
  }
  return text;
}

}  // namespace tessik
