// The one way a whole file is replaced: the settings, the totals, and the game log that the
// import and the conversion write anew.
#pragma once

#include <fcntl.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace tessik {

// What becomes of the file being replaced.
enum class Backup {
  None,     // nothing is kept (a new game log: there was none worth keeping)
  Replace,  // kept as backup, replacing the previous backup (the three-move saves)
  // Kept as backup, never replacing one that exists: the replacement then fails, and the new
  // file stays, whole, under the temporary name.
  KeepOld,
};

// A file to replace: the names of the file, its temporary and its backup, relative to folder
// (a directory's descriptor, or AT_FDCWD for paths).
struct SavedFile {
  int folder = AT_FDCWD;
  std::string current;
  std::string temporary;
  std::string backup;
  // Of the new file, before the umask: the data folder's files are the user's alone; a file
  // the user names (an export) is made as the user's other files are.
  mode_t mode = 0600;
};

// Contents made a piece at a time: each call gives the next piece, an empty one at the end. A
// large file then never stands whole in memory.
using FilePieces = std::function<std::string_view()>;

// Writes the contents as file.current so that a failure never destroys the last good file:
// write and sync the temporary (made anew, exclusively: no link is followed), keep current
// under backup as the rule says (a hard link: current stays where it is), then one atomic
// rename of temporary over current, and a sync of the folder so that the rename survives a
// crash. Returns the first failure that leaves current unreplaced (EEXIST: a backup that is
// kept stands in the way), or no error.
std::error_code WriteFileAtomically(const SavedFile& file, Backup rule, std::string_view contents);
std::error_code WriteFileAtomically(const SavedFile& file, Backup rule, const FilePieces& pieces);

// The same in two steps, for a caller that must add to the new file at the last moment (the
// game log's rewrite, under its lock). The first writes the temporary and leaves it open in
// fd, unsynced; on failure it is removed and fd is -1.
std::error_code WriteTemporaryFile(const SavedFile& file, const FilePieces& pieces, int& fd);
// The second syncs and closes fd, then keeps, renames and syncs as WriteFileAtomically does.
// A failed sync removes the temporary.
std::error_code PutInPlace(const SavedFile& file, Backup rule, int fd);

}  // namespace tessik
