#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/last_error.h"

namespace tessik {

std::string PosixObjectName(std::string_view name) {
  std::string posixName(1, '/');
  posixName.append(name);
  return posixName;
}

int OpenFileMappingA(std::string_view name) {
  int fd = shm_open(PosixObjectName(name).c_str(), O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) {
    SetLastErrorFromErrno();
    return kNoHandle;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    SetLastErrorFromErrno();
    close(fd);
    return kNoHandle;
  }
  if (info.st_uid != geteuid()) {
    SetLastError(kErrorAccessDenied);
    close(fd);
    return kNoHandle;
  }
  return fd;
}

void* MapViewOfFile(int mapping, size_t length) {
  struct stat info {};
  if (fstat(mapping, &info) != 0) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  if (length == 0 || static_cast<unsigned long long>(info.st_size) < length) {
    SetLastError(kErrorInvalidParameter);
    return nullptr;
  }
  void* view = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, mapping, 0);
  if (view == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  return view;
}

void UnmapViewOfFile(void* view, size_t length) {
  if (view != nullptr) munmap(view, length);
}

void CloseHandle(int handle) {
  if (handle != kNoHandle) close(handle);
}

}  // namespace tessik
