// A PGN's games of the user into the database.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "database/record_database.h"
#include "stats/archive_game.h"

namespace tessik {

struct DatabaseImportRequest {
  std::string pgnPath;  // "-": standard input; plain or gzip
  std::string player;   // the user's name in the PGN
  PgnFormat format = PgnFormat::Auto;
  std::function<void(off_t read, off_t total)> progress;  // bytes read of a plain file's total
};

struct DatabaseImportResult {
  int read = 0;     // games in the PGN
  int added = 0;    // new in the database
  int present = 0;  // held already (the same server and game id), or twice in the PGN
  std::array<int, static_cast<size_t>(LeftOut::count)> leftOut{};  // by reason; [Kept] unused
  int64_t batch = 0;                                               // the import's run
  // The names that are White or Black in every game read, as the first game writes them: whose
  // archive it is, when the player asked for is not in it.
  std::vector<std::string> everyGamePlayers;
};

// Reads the user's games of the PGN (ArchiveGame) and adds those the database does not hold,
// as one import run, committed some thousand games at a time: a run stopped halfway keeps the
// whole games committed, and the next import of the file adds the rest. Throws DatabaseError
// when the PGN cannot be read (what was committed stays) or the database cannot be written.
DatabaseImportResult ImportIntoDatabase(RecordDatabase& db, const DatabaseImportRequest& request);

}  // namespace tessik
