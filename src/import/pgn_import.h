// Building a first game log from the PGN file of the user's past games.
#pragma once

#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "import/rating_chains.h"
#include "platform/byte_source.h"
#include "store/game_log_file.h"
#include "store/game_record.h"

namespace tessik {

// The PGN named by the host's per-user file <workingDirectory><userName>.vx2 (the last path
// ending in ".pgn" in its first 500 bytes: a Linux path, or a drive-letter path of a Windows
// host), else <workingDirectory><userName>.pgn. The path is returned as found.
std::string LocatePgnFile(const std::string& workingDirectory, const std::string& userName);
// The reading of LocatePgnFile, from hostFile (bytes long, or about: it sizes the read): the
// path it names, else fallback.
std::string LocatePgnFile(ByteSource hostFile, size_t bytes, const std::string& fallback);

// A path as the host wrote it, as this system reaches it: "Z:\dir\f.pgn" is "/dir/f.pgn" (the
// drive Wine maps to the root), any other drive letter X lies in Wine's default prefix,
// "<home>/.wine/dosdevices/x:/dir/f.pgn"; a Linux path stays as it is.
std::string LocalPath(const std::string& hostPath, const std::string& home);

struct PgnReading {
  std::error_code error;     // the PGN could not be opened (ENOENT: there is none) or read whole
  std::error_code logError;  // the diagnostic log could not be written; the reading went on
};

// Reads every game of the PGN into games (the marker first, then the user's kept games, in
// file order, neighbouring duplicates removed) and writes the diagnostic log to logPath.
// Anything but a regular file is refused (EINVAL). games changes only when the whole PGN was
// read.
PgnReading ParsePgn(std::vector<GameRecord>& games, const std::string& pgnPath,
                    const std::string& userName, const std::string& logPath);
// The reading of ParsePgn, from pgn (pgnBytes long, or about: it sizes the first table and
// decides whether and near where the file is cut to be read in two parts), the report to log
// (none when null); logError stays clear.
PgnReading ReadPgn(std::vector<GameRecord>& games, ByteSource pgn, size_t pgnBytes,
                   const std::string& userName, FILE* log);

struct ImportOutcome {
  std::string pgnPath;          // the PGN the import tried
  std::error_code pgnError;     // as PgnReading::error
  std::error_code reportError;  // as PgnReading::logError
  std::error_code writeError;   // the new log did not reach the disk

  // Whether the import ran to its end: the PGN was read whole, or there is none (no past
  // games). Otherwise nothing was written and the games stay as they were.
  bool Complete() const { return !pgnError || NoPgn(); }
  // There is no PGN: the log starts without past games.
  bool NoPgn() const { return pgnError == std::errc::no_such_file_or_directory; }
};

// The whole import: locate, parse, add the games played live since the login (playedSince),
// reconstruct the rating chains, write the new log into the data folder (dataFolder, its
// descriptor) as a rewrite of the log read up to read: under a temporary name, the games
// appended since carried over, then renamed into place.
ImportOutcome ImportPgn(std::vector<GameRecord>& games, int dataFolder, const LogMark& read,
                        const std::string& userName, const std::string& workingDirectory,
                        const CurrentRatings& ratings,
                        const std::vector<GameRecord>& playedSince = {});

}  // namespace tessik
