#pragma once

#include <string>
#include <string_view>

#include "store/file_cause.h"

namespace tessik {

// Saves contents as current so that a failure never destroys the last good file: delete
// backup, write and sync temporary, keep current as backup, then rename temporary over
// current (one atomic step: a crash at any point leaves a whole current file).
// Returns the cause of the first failure of the write or of the final rename, or kFileNone.
FileCause SaveInThreeMoves(const std::string& current, const std::string& temporary,
                           const std::string& backup, std::string_view contents);

// Keeps the current file also under the backup name (a hard link), never replacing an existing
// backup: kFileNone or the cause (an existing backup: access denied, as a rename onto an
// existing file fails on the desktop platform). The current file stays where it is.
FileCause KeepAsBackup(const std::string& current, const std::string& backup);

// Writes and syncs a whole new file under a temporary name: what stood there is removed first,
// and the file is created exclusively, so no link is ever followed.
FileCause WriteWholeFile(const std::string& path, std::string_view contents);

}  // namespace tessik
