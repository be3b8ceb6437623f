// The user's database of games: where it is, and opening it.
//
// Where: --db FILE, else the file TESSIK_DB names, else
// ${XDG_DATA_HOME:-~/.local/share}/tessik/<user>.sqlite. The default folder is checked as the
// plug-in's data folder is (ours, closed to others, not a link; made when missing); the folder
// of a file named by hand must be a folder that no other user may write.
//
// SQLite opens files by name, and names the journal and the write-ahead log after the database.
// So that what it opens is the folder checked, not whatever stands at its name by then, the
// database is opened as /proc/self/fd/N/<file>, N the descriptor of the checked folder: SQLite
// resolves that to the folder's path at the moment of opening, and every later name it makes
// (FILE-wal, FILE-shm) lies in the same folder. Nobody else may write in that folder or above
// it (the checks), so no other user can put a link or another file under those names.
#pragma once

#include <SQLiteCpp/Database.h>

#include <memory>
#include <string>

#include "platform/private_directory.h"

namespace tessik {

// The environment variable naming the database file.
inline constexpr const char* kDatabaseVariable = "TESSIK_DB";

struct DatabasePlace {
  std::string folder;  // a path; for the default place also made and checked as above
  std::string file;    // the file's name in folder
  bool defaultFolder = false;
  std::string Path() const { return folder + "/" + file; }
};

// The default folder of the databases: ${XDG_DATA_HOME:-~/.local/share}/tessik; empty without a
// home.
std::string DefaultDatabaseFolder();

// Where user's database is: option (--db) when not empty, else TESSIK_DB, else the default.
// Throws DatabaseError when neither gives a place (no HOME) or a file name is empty.
DatabasePlace DatabasePlaceOf(const std::string& option, const std::string& user);

class RecordDatabase {
 public:
  // Opens the database at place, brought to this version's schema, in WAL mode. Without create
  // a missing file is no database: IsOpen() is false. Throws DatabaseError naming the file when
  // it cannot be opened or is not a database this version reads.
  RecordDatabase(const DatabasePlace& place, bool create);

  bool IsOpen() const { return sql_ != nullptr; }
  // Readies the connection for a long write of thousands of games in many commits (an import,
  // a fetch), for as long as it is open.
  void PrepareBulkWrite();
  SQLite::Database& sql() { return *sql_; }
  const std::string& path() const { return path_; }

 private:
  Folder folder_;  // held while the database is open
  std::string path_;
  std::unique_ptr<SQLite::Database> sql_;
};

}  // namespace tessik
