#include "store/file_cause.h"

#include <cerrno>

namespace tessik {

FileCause FileCauseFromErrno(int error) {
  switch (error) {
    case 0:
      return kFileNone;
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kFileBadPath;
    case EMFILE:
    case ENFILE:
      return kFileTooManyOpen;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kFileAccessDenied;
    case EBADF:
      return kFileInvalid;
    case EBUSY:
    case ETXTBSY:
      return kFileSharingViolation;
    case ENOLCK:
      return kFileLockViolation;
    case ESPIPE:
      return kFileBadSeek;
    case EIO:
      return kFileHardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kFileDiskFull;
    default:
      return kFileGeneric;
  }
}

const char* FileCauseReason(int cause) {
  switch (cause) {
    case kFileBadPath:
      return "bad path";
    case kFileAccessDenied:
      return "access denied";
    case kFileHardIO:
      return "no disk in drive or hardware error";
    case kFileDiskFull:
      return "disk full";
    default:
      return "unknown";
  }
}

std::string DescribeFileCause(int cause) {
  return std::string(FileCauseReason(cause)) + ", error code " + std::to_string(cause);
}

}  // namespace tessik
