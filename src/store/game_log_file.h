// Reading a whole game log from its file, as the plug-in and the command line both do.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/byte_source.h"
#include "store/game_record.h"

namespace tessik {

// Reads every whole record of the log at path into records, in file order; an incomplete tail
// (a record torn by a crash) is left out. The file is opened without following a link and
// without waiting on a FIFO. Returns 0, or the errno of the failure: ENOENT when there is no
// file, EINVAL for anything but a regular file, EFBIG for a file larger than any log.
int ReadGameLogFile(const std::string& path, std::vector<GameRecord>& records);

// Appends the whole records of source to records, as ReadGameLogFile reads a file's: the path
// of a log's bytes, whatever holds them. Returns 0 or the errno of a failed read.
int ReadGameLog(ByteSource source, std::vector<GameRecord>& records);

// Reads the log at path as ReadGameLogFile does, but hands its records to visit a batch at a
// time (a few thousand, in file order) instead of keeping them: a pass over a million games
// then stays in the processor's cache. Returns as ReadGameLogFile does; records visited before
// a read error stay visited.
int VisitGameLogFile(const std::string& path,
                     const std::function<void(std::span<const GameRecord>)>& visit);

}  // namespace tessik
