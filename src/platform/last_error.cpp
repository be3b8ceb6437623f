#include "platform/last_error.h"

#include <cerrno>

namespace tessik {

namespace {
thread_local uint32_t lastError = 0;
}

void SetLastError(uint32_t error) { lastError = error; }

uint32_t GetLastError() { return lastError; }

uint32_t LastErrorFromErrno(int errnoValue) {
  switch (errnoValue) {
    case 0:
      return 0;
    case ENOENT:
      return kErrorFileNotFound;
    case EACCES:
    case EPERM:
      return kErrorAccessDenied;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    case EINVAL:
      return kErrorInvalidParameter;
    default:
      return kErrorLinuxErrnoBase + static_cast<uint32_t>(errnoValue);
  }
}

void SetLastErrorFromErrno() { SetLastError(LastErrorFromErrno(errno)); }

}  // namespace tessik
