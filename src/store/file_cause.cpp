#include "store/file_cause.h"

#include <cerrno>

namespace tessik {

FileCause FileCauseOf(std::error_code error) {
  if (!error) return FileCause::None;
  if (error.category() != std::generic_category()) return FileCause::Generic;
  switch (error.value()) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return FileCause::BadPath;
    case EMFILE:
    case ENFILE:
      return FileCause::TooManyOpen;
    case EACCES:
    case EPERM:
    case EEXIST:
    case EROFS:
    case EISDIR:
      return FileCause::AccessDenied;
    case EBADF:
      return FileCause::Invalid;
    case EBUSY:
    case ETXTBSY:
      return FileCause::SharingViolation;
    case EWOULDBLOCK:
    case ENOLCK:
      return FileCause::LockViolation;
    case ESPIPE:
      return FileCause::BadSeek;
    case EIO:
      return FileCause::HardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FileCause::DiskFull;
    default:
      return FileCause::Generic;
  }
}

const char* FileCauseReason(FileCause cause) {
  switch (cause) {
    case FileCause::BadPath:
      return "bad path";
    case FileCause::AccessDenied:
      return "access denied";
    case FileCause::HardIO:
      return "no disk in drive or hardware error";
    case FileCause::DiskFull:
      return "disk full";
    default:
      return "unknown";
  }
}

std::string DescribeFileCause(FileCause cause) {
  return std::string(FileCauseReason(cause)) + ", error code " +
         std::to_string(static_cast<int>(cause));
}

}  // namespace tessik
