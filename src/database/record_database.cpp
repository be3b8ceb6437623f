#include "database/record_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "database/database_error.h"
#include "database/schema.h"
#include "platform/file_error.h"
#include "store/handle.h"

namespace tessik {

namespace {

// How long a command waits for another that writes (a fetch commits a batch at a time).
constexpr int kBusyWaitMilliseconds = 10000;

DatabasePlace PlaceOfFile(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Makes the folders of path that are missing, each closed to others, as XDG asks.
void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  mkdir(path.c_str(), 0700);
}

std::error_code OpenPlaceFolder(const DatabasePlace& place, Folder& folder) {
  if (!place.defaultFolder) return OpenUnsharedFolder(place.folder, folder);
  const size_t slash = place.folder.rfind('/');
  const std::string parent = place.folder.substr(0, slash);
  MakeFolders(parent);
  return OpenPrivateFolder(parent, place.folder.substr(slash + 1), folder).error;
}

}  // namespace

std::string DefaultDatabaseFolder() {
  // The XDG base folder of user data: $XDG_DATA_HOME when it is an absolute path (a relative
  // one is to be ignored), else ~/.local/share.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/tessik";
  const char* home = std::getenv("HOME");
  return home != nullptr && home[0] == '/' ? std::string(home) + "/.local/share/tessik" : "";
}

DatabasePlace DatabasePlaceOf(const std::string& option, const std::string& user) {
  const char* variable = std::getenv(kDatabaseVariable);
  DatabasePlace place;
  if (!option.empty()) {
    place = PlaceOfFile(option);
  } else if (variable != nullptr && variable[0] != '\0') {
    place = PlaceOfFile(variable);
  } else {
    const std::string folder = DefaultDatabaseFolder();
    if (folder.empty()) throw DatabaseError("no place for the database: HOME is not set (--db)");
    if (!IsSafeFileHandle(user)) {
      throw DatabaseError("the handle \"" + PrintableName(user) + "\" cannot name a database");
    }
    place = {folder, user + ".sqlite", true};
  }
  if (place.file.empty()) throw DatabaseError("the database " + place.Path() + " names no file");
  return place;
}

RecordDatabase::RecordDatabase(const DatabasePlace& place, bool create) : path_(place.Path()) {
  const auto fail = [this](const std::string& why) {
    throw DatabaseError("cannot open the database " + PrintableName(path_) + ": " + why);
  };
  if (std::error_code error = OpenPlaceFolder(place, folder_)) {
    if (!create && error == std::errc::no_such_file_or_directory) return;
    fail(DescribeReadError(error));
  }
  struct stat info {};
  if (fstatat(folder_.fd(), place.file.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) fail(DescribeReadError(ErrnoError()));
    if (!create) return;
    // Made here, so that it is ours and closed to others; SQLite gives its journal and log the
    // database's mode.
    const int fd = openat(folder_.fd(), place.file.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) fail(DescribeReadError(ErrnoError()));
    close(fd);
  } else if (!S_ISREG(info.st_mode)) {
    fail(DescribeReadError(ErrnoError(S_ISLNK(info.st_mode) ? ELOOP : EINVAL)));
  }
  const std::string inFolder = "/proc/self/fd/" + std::to_string(folder_.fd()) + "/" + place.file;
  try {
    // A connection is used by one thread at a time: SQLite need not lock it at each call (a
    // million rows read are some twenty million calls).
    sql_ = std::make_unique<SQLite::Database>(
        inFolder, SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX, kBusyWaitMilliseconds);
    sql_->exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON;");
    MigrateSchema(*sql_);
  } catch (const SQLite::Exception& error) {
    sql_.reset();
    fail(error.what());
  } catch (const DatabaseError& error) {
    sql_.reset();
    fail(error.what());
  }
}

void RecordDatabase::PrepareBulkWrite() {
  // Each commit of thousands of games changes pages all over the indexes (the opponents' above
  // all): SQLite keeps them in memory between commits instead of reading them back, and folds its
  // log into the database every 64 MB of it rather than every 4 MB, each fold two waits for the
  // disk. A 270,000-game import took 18.6 s before, 10.3 s after, its log at most 78 MB.
  sql_->exec("PRAGMA cache_size = -131072; PRAGMA wal_autocheckpoint = 16384;");
}

}  // namespace tessik
