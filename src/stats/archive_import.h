// A PGN archive into the user's game log: a new log, or the games the log does not hold yet.
#pragma once

#include <sys/types.h>

#include <array>
#include <functional>
#include <string>

#include "stats/archive_game.h"

namespace tessik {

struct ArchiveImportRequest {
  std::string pgnPath;
  std::string directory;  // the folder the plug-in runs in: the log is in its tessik/ folder
  std::string user;       // whose log
  std::string player;     // the user's name in the archive
  PgnFormat format = PgnFormat::Auto;
  std::function<void(off_t read, off_t total)> progress;  // bytes of the PGN read so far
};

struct ArchiveImportResult {
  std::string error;  // why nothing was written; empty when the import went through
  std::string logPath;
  int read = 0;     // games in the archive
  int added = 0;    // new in the log
  int present = 0;  // in the log already (or twice in the archive)
  std::array<int, static_cast<size_t>(LeftOut::count)> leftOut{};  // by reason; [Kept] unused
};

// Reads the archive's games of the user and adds those the log does not hold (the duplicate
// test of the log: every field, the opponent over 15 characters), each at its place in time
// among the log's games, whose order stays as it is. The new log replaces the old one in one
// rename, file and folder synced, the old one kept as <user>.glg.bak; games that sessions of
// the user recorded while the archive was read follow at its end. Nothing is written when the
// data folder is not the user's own, when the log or the archive cannot be read whole, or when
// no game is new.
ArchiveImportResult ImportArchive(const ArchiveImportRequest& request);

}  // namespace tessik
