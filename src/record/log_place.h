// Where a reader finds the user's record, as the programs' --dir, --user and --db give it.
#pragma once

#include <string>

namespace tessik {

struct LogPlace {
  std::string directory = ".";  // the folder the plug-in runs in; its log is in tessik/ there
  std::string user;             // empty: the only log there
  std::string database;         // --db: the database's file; empty: TESSIK_DB's, or the default
};

}  // namespace tessik
