// Reading a whole game log from its file, as the plug-in and the command line both do.
#pragma once

#include <string>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// Reads every whole record of the log at path into records, in file order; an incomplete tail
// (a record torn by a crash) is left out. The file is opened without following a link and
// without waiting on a FIFO. Returns 0, or the errno of the failure: ENOENT when there is no
// file, EINVAL for anything but a regular file, EFBIG for a file larger than any log.
int ReadGameLogFile(const std::string& path, std::vector<GameRecord>& records);

}  // namespace tessik
