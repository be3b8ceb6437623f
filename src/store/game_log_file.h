// The game log's file: reading it whole or in batches, what it gained since a read, the append
// of finished games, and the rewrite that replaces it, as the plug-in and the command line do.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "platform/byte_source.h"
#include "store/count_parts.h"
#include "store/game_record.h"
#include "store/handle.h"
#include "store/safe_save.h"

namespace tessik {

// Log files are named relative to folder, the data folder's descriptor, by the user's handle:
// <userName>.glg.

// Where a read of a log ended: which file it read, and how far. A later look at the log tells
// from it what the log gained since, or that it was replaced by another file.
struct LogMark {
  bool exists = false;  // a file was read; false: there was none
  dev_t device = 0;
  ino_t inode = 0;
  off_t bytes = 0;  // the whole records read
};

// Reads every whole record of the log into records, in file order; an incomplete tail (a
// record torn by a crash) is left out. The file is opened without following a link and
// without waiting on a FIFO. mark, when given, is where the read ended. Returns no error, or
// the failure's: ENOENT when there is no file, EINVAL for anything but a regular file, EFBIG for
// a file larger than any log.
std::error_code ReadGameLogFile(int folder, const std::string& userName,
                                std::vector<GameRecord>& records, LogMark* mark = nullptr);

// Appends the whole records of source to records, as ReadGameLogFile reads a file's: the path
// of a log's bytes, whatever holds them. Returns no error, or a failed read's.
std::error_code ReadGameLog(ByteSource source, std::vector<GameRecord>& records);

// Which records of a log a pass decodes, told by their opponent field alone before the rest of
// each is decoded: every record, those against one player, those of one part of a count
// (CountPartOf), or those of both conditions.
struct RecordChoice {
  const HandleMatcher* opponent = nullptr;  // only the games against that player
  std::optional<size_t> part;               // only the games of that part

  bool TakesAll() const { return opponent == nullptr && !part; }
  bool Takes(const char* field) const {
    return (opponent == nullptr || opponent->MatchesField(field)) &&
           (!part || CountPartOf(field) == *part);
  }
};

// Reads the log as ReadGameLogFile does, but hands its records to visit a batch at a time (a
// few thousand, in file order) instead of keeping them: a pass over a million games then stays
// in the processor's cache. Only the records choice takes are handed on, and the first record
// (the marker) always. Returns as ReadGameLogFile does; records visited before a read error
// stay visited.
std::error_code VisitGameLogFile(int folder, const std::string& userName,
                                 const std::function<void(std::span<const GameRecord>)>& visit,
                                 const RecordChoice& choice = {});

// What the log became since a mark.
enum class LogChange {
  None,      // nothing new (or no log at all)
  Grown,     // records were appended: added holds them
  Replaced,  // another file stands under the name (a rewrite): added holds all of it
};

// Looks at the log (one fstatat when nothing changed) and reads what it gained since mark:
// the whole records past mark.bytes of the same file, or all of another file. mark then tells
// where this read ended. A log that vanished, or cannot be read, changes nothing. Returns the
// change; added receives the records read.
LogChange ReadGameLogSince(int folder, const std::string& userName, LogMark& mark,
                           std::vector<GameRecord>& added);

// How long a writer of the log waits for its lock: longer than any holder keeps it.
inline constexpr std::chrono::milliseconds kLogLockWait{2000};

// Appends records at the end of the log under its lock, after cutting a torn tail back to
// whole records, and syncs. An empty log gets the marker of a log awaiting its first import
// first: a complete import writes the whole log. Returns no error, EWOULDBLOCK when the lock
// stayed held for kLogLockWait (nothing written: the caller keeps the records and tries again
// later), or the failure. The file is made with mode 0600.
std::error_code AppendGameRecords(int folder, const std::string& userName,
                                  std::span<const GameRecord> records);

// Replaces the log by a rewrite of it: the rewrite read the log up to read (its records went
// into pieces), and meanwhile sessions may have appended games. The new log is written under
// temporary, then, under the lock, the whole records the log gained since read are carried
// over to its end, the old log is kept under backup as the rule says, and the new one renamed
// into place. When the read found no log, a marker that a session put at the start of a new one
// is not carried over: the rewrite has its own. Returns no error, EWOULDBLOCK (the lock stayed
// held), EBUSY when another rewrite replaced the log meanwhile (its records are not those read:
// nothing is replaced, and the rewrite may start again from the new log), or the failure; on
// failure the log stays as it was.
std::error_code RewriteGameLog(int folder, const std::string& userName, const LogMark& read,
                               const std::string& temporary, const std::string& backup, Backup rule,
                               const FilePieces& pieces);

}  // namespace tessik
