// Why a file could not be written, as the write-error box names it: the cause codes 0 to 14 of
// the platform the plug-in first ran on, and the one mapping of a failure onto them.
#pragma once

#include <string>
#include <system_error>

namespace tessik {

enum class FileCause : int {
  None = 0,
  Generic = 1,
  NotFound = 2,
  BadPath = 3,
  TooManyOpen = 4,
  AccessDenied = 5,
  Invalid = 6,
  RemoveCurrentDir = 7,
  DirectoryFull = 8,
  BadSeek = 9,
  HardIO = 10,
  SharingViolation = 11,
  LockViolation = 12,
  DiskFull = 13,
  EndOfFile = 14,
};

// The cause of a failed file operation (None for no error). A file that cannot be made in a
// missing folder is a bad path; a name that is taken (a backup in the way of a rename) is access
// denied, as a rename onto an existing file fails there; a lock held by another is a lock
// violation; a file another program replaced meanwhile (EBUSY) is a sharing violation.
FileCause FileCauseOf(std::error_code error);

// The reason the write-error box gives for a cause.
const char* FileCauseReason(FileCause cause);
// The reason and the code, for a line in the output box: "disk full, error code 13".
std::string DescribeFileCause(FileCause cause);

}  // namespace tessik
