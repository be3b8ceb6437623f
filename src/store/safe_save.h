// The one way a whole file is replaced: the settings, the totals, and the game log that the
// import and the conversion write anew.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "store/file_cause.h"

namespace tessik {

// What becomes of the file being replaced.
enum class Backup {
  None,     // nothing is kept (a new game log: there was none worth keeping)
  Replace,  // kept as backup, replacing the previous backup (the three-move saves)
  // Kept as backup, never replacing one that exists: the replacement then fails, and the new
  // file stays, whole, under the temporary name.
  KeepOld,
};

// Writes contents as current so that a failure never destroys the last good file: write and
// sync temporary (made anew, exclusively: no link is followed), keep current under backup as
// the rule says (a hard link: current stays where it is), then one atomic rename of temporary
// over current, and a sync of the directory so that the rename survives a crash.
// Returns the cause of the first failure that leaves current unreplaced, or kFileNone.
FileCause WriteFileAtomically(const std::string& current, const std::string& temporary,
                              const std::string& backup, Backup rule, std::string_view contents);

// Contents made a piece at a time: each call gives the next piece, an empty one at the end. A
// large file then never stands whole in memory.
using FilePieces = std::function<std::string_view()>;
// WriteFileAtomically, with the contents in pieces.
FileCause WriteFileAtomically(const std::string& current, const std::string& temporary,
                              const std::string& backup, Backup rule, const FilePieces& pieces);

}  // namespace tessik
