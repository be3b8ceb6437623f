#pragma once

#include <string>
#include <string_view>

#include "store/file_cause.h"

namespace tessik {

// Saves contents as current so that a failure never destroys the last good file: delete
// backup, write and sync temporary, then rename current to backup and temporary to current.
// Returns the cause of the first failure of the write or of the final rename, or kFileNone.
FileCause SaveInThreeMoves(const std::string& current, const std::string& temporary,
                           const std::string& backup, std::string_view contents);

// Renames from to to unless to exists; kFileNone or the cause (an existing target: access
// denied, as a rename onto an existing file fails on the desktop platform).
FileCause RenameNoReplace(const std::string& from, const std::string& to);

// Writes and syncs a whole new file (truncating one of that name).
FileCause WriteWholeFile(const std::string& path, std::string_view contents);

}  // namespace tessik
