#include "store/log_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/file_error.h"

namespace tessik {

std::error_code LogLock::Take(int folder, const std::string& userName,
                              std::chrono::milliseconds wait) {
  Release();
  const std::string name = userName + ".lock";
  const int fd = openat(folder, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return ErrnoError();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  // flock cannot wait with a time-out: a holder keeps it for a few writes, so polling every
  // few milliseconds costs nothing and ends the wait on time.
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return {};
    }
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      close(fd);
      return ErrnoError(error);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void LogLock::Release() {
  if (fd_ >= 0) close(fd_);  // closing the last descriptor releases the lock
  fd_ = -1;
}

}  // namespace tessik
