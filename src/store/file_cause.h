// Why a file operation failed, as the write-error box names it.
#pragma once

#include <string>

namespace tessik {

enum FileCause : int {
  kFileNone = 0,
  kFileGeneric = 1,
  kFileNotFound = 2,
  kFileBadPath = 3,
  kFileTooManyOpen = 4,
  kFileAccessDenied = 5,
  kFileInvalid = 6,
  kFileRemoveCurrentDir = 7,
  kFileDirectoryFull = 8,
  kFileBadSeek = 9,
  kFileHardIO = 10,
  kFileSharingViolation = 11,
  kFileLockViolation = 12,
  kFileDiskFull = 13,
  kFileEndOfFile = 14,
};

FileCause FileCauseFromErrno(int error);

// The reason the write-error box gives for a cause.
const char* FileCauseReason(int cause);
// The reason and the code, for a line in the output box: "disk full, error code 13".
std::string DescribeFileCause(int cause);

}  // namespace tessik
