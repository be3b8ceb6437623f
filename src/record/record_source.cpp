#include "record/record_source.h"

#include <sys/stat.h>

#include "database/database_error.h"
#include "database/record_database.h"
#include "record/user_log.h"
#include "stats/log_location.h"

namespace tessik {

namespace {

// What a look at the file at path tells of its content having changed; "-" for no file.
std::string FileStamp(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return "-";
  return std::to_string(info.st_ino) + ":" + std::to_string(info.st_size) + ":" +
         std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
}

}  // namespace

std::vector<Game> RecordSource::Games() {
  const LogView view = OpenRecord(place_, GameFilter(), false);
  return SelectRecord(view, [](const Game&) { return true; });
}

std::string RecordSource::Version() {
  std::string problem, database;
  try {
    database = DatabasePlaceOf(place_.database, place_.user).Path();
  } catch (const DatabaseError&) {
    // No place for a database: reading the record says why.
  }
  // SQLite writes a transaction to the write-ahead log first; the database file changes later.
  return FileStamp(LogPathOf(place_.directory, place_.user, problem)) + " " + FileStamp(database) +
         " " + FileStamp(database.empty() ? "" : database + "-wal");
}

}  // namespace tessik
