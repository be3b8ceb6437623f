// Building a first game log from the PGN file of the user's past games.
#pragma once

#include <string>
#include <vector>

#include "import/rating_chains.h"
#include "store/game_record.h"

namespace tessik {

// The PGN named by the host's per-user file <workingDirectory><userName>.vx2 (the last path
// ending in ".pgn" in its first 500 bytes: a Linux path, or a drive-letter path of a Windows
// host), else <workingDirectory><userName>.pgn. The path is returned as found.
std::string LocatePgnFile(const std::string& workingDirectory, const std::string& userName);

// A path as the host wrote it, as this system reaches it: "Z:\dir\f.pgn" is "/dir/f.pgn" (the
// drive Wine maps to the root), any other drive letter X lies in Wine's default prefix,
// "<home>/.wine/dosdevices/x:/dir/f.pgn"; a Linux path stays as it is.
std::string LocalPath(const std::string& hostPath, const std::string& home);

// Reads every game of the PGN into games (the marker first, then the user's kept games, in
// file order, neighbouring duplicates removed) and writes the diagnostic log to logPath.
// Returns 1 when the PGN could be opened, 0 otherwise (games then unchanged).
int ParsePgn(std::vector<GameRecord>& games, const std::string& pgnPath,
             const std::string& userName, const std::string& logPath);

struct ImportOutcome {
  int read = 0;         // 1 when the PGN file was read
  bool written = true;  // the new log reached the disk
  std::string problem;  // why it did not
};

// The whole import: locate, parse, add the games played live since the login (playedSince),
// reconstruct the rating chains, write the new log (under a temporary name, then renamed into
// place).
ImportOutcome ImportPgn(std::vector<GameRecord>& games, const std::string& dataDirectory,
                        const std::string& userName, const std::string& workingDirectory,
                        const CurrentRatings& ratings,
                        const std::vector<GameRecord>& playedSince = {});

// Writes the whole table as a log: to temporary, synced, then renamed to path.
bool WriteGameLog(const std::vector<GameRecord>& games, const std::string& temporary,
                  const std::string& path, std::string& problem);

}  // namespace tessik
