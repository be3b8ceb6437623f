#include "work_file.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vexmoor {

namespace {

// Opens name for writing beneath the directory root: the kernel refuses a link at name (ELOOP)
// and any step that leaves root (EXDEV).
int OpenBeneath(int root, const std::string& name) {
  open_how how{};
  how.flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  how.mode = 0600;
  how.resolve = RESOLVE_BENEATH;
  return static_cast<int>(syscall(SYS_openat2, root, name.c_str(), &how, sizeof how));
}

std::string OpenFailure(int error) {
  if (error == EXDEV) return "it leads outside the working directory";
  if (error == ELOOP) return "it is a symbolic link";
  if (error == ENXIO) return "it is not a regular file";  // a FIFO without a reader, a socket
  return std::strerror(error);
}

bool WriteAll(int fd, const std::string& contents) {
  for (size_t done = 0; done < contents.size();) {
    ssize_t wrote = write(fd, contents.data() + done, contents.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

}  // namespace

bool NameStaysInside(const std::string& name) {
  if (name.empty() || name.front() == '/') return false;
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

bool WriteWorkFile(const std::string& directory, const std::string& name,
                   const std::string& contents, std::string& reason) {
  int root = open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  int fd = root < 0 ? -1 : OpenBeneath(root, name);
  int error = errno;
  if (root >= 0) close(root);
  if (fd < 0) {
    reason = OpenFailure(error);
    return false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    reason = OpenFailure(ENXIO);
    return false;
  }
  bool written = ftruncate(fd, 0) == 0 && WriteAll(fd, contents);
  error = errno;
  if (close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) reason = std::strerror(error);
  return written;
}

}  // namespace vexmoor
