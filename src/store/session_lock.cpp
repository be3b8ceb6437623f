#include "store/session_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessik {

std::string SessionLock::Take(const std::string& path) {
  Release();
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return std::strerror(errno);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    close(fd);
    return error == EWOULDBLOCK ? "in use by another Tessik session" : std::strerror(error);
  }
  fd_ = fd;
  return {};
}

void SessionLock::Release() {
  if (fd_ >= 0) close(fd_);  // closing the last descriptor releases the lock
  fd_ = -1;
}

}  // namespace tessik
