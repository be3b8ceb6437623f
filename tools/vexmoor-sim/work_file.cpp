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

// Opens name beneath the directory root: the kernel refuses a link at name (ELOOP)
// and any step that leaves root (EXDEV).
int OpenBeneath(int root, const std::string& name, uint64_t flags) {
  open_how how{};
  how.flags = flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  how.mode = (flags & O_CREAT) != 0 ? 0600 : 0;  // the kernel wants no mode without O_CREAT
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

// Makes each missing folder on the way to name (mode 0700), each in a parent reached beneath
// root, so that a link that leads out makes nothing outside. 0, or the errno of a folder that
// could not be made; a parent that cannot be reached is left to the open of name to report.
int MakeFoldersBeneath(int root, const std::string& name) {
  for (size_t slash = name.find('/'); slash != std::string::npos;
       slash = name.find('/', slash + 1)) {
    const std::string folder = name.substr(0, slash);
    const size_t cut = folder.rfind('/');
    const std::string leaf = cut == std::string::npos ? folder : folder.substr(cut + 1);
    if (leaf.empty()) continue;  // "a//b"
    // "parent/." follows a link at parent that stays beneath root, as the open of name does.
    const std::string parent = cut == std::string::npos ? "." : folder.substr(0, cut) + "/.";
    int at = OpenBeneath(root, parent, O_RDONLY | O_DIRECTORY);
    if (at < 0) return 0;
    int error = mkdirat(at, leaf.c_str(), 0700) == 0 || errno == EEXIST ? 0 : errno;
    close(at);
    if (error != 0) return error;
  }
  return 0;
}

// The regular file name inside directory, opened with flags (making the folders on its way
// when it is created); -1 with the reason.
int OpenWorkFile(const std::string& directory, const std::string& name, uint64_t flags,
                 std::string& reason) {
  int root = open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  int error = root < 0 || (flags & O_CREAT) == 0 ? 0 : MakeFoldersBeneath(root, name);
  int fd = root < 0 || error != 0 ? -1 : OpenBeneath(root, name, flags);
  if (error == 0) error = errno;
  if (root >= 0) close(root);
  if (fd < 0) {
    reason = OpenFailure(error);
    return -1;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    reason = OpenFailure(ENXIO);
    return -1;
  }
  return fd;
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
                   const std::string& contents, std::string& reason, WriteMode mode) {
  uint64_t flags = O_WRONLY | O_CREAT | (mode == WriteMode::Append ? O_APPEND : 0);
  int fd = OpenWorkFile(directory, name, flags, reason);
  if (fd < 0) return false;
  bool written = (mode == WriteMode::Append || ftruncate(fd, 0) == 0) && WriteAll(fd, contents);
  int error = errno;
  error = errno;
  if (close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) reason = std::strerror(error);
  return written;
}

bool MakeWorkLink(const std::string& directory, const std::string& name, const std::string& target,
                  std::string& reason) {
  const size_t slash = name.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : name.substr(0, slash);
  int root = open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  int parent = root < 0 ? -1 : OpenBeneath(root, folder, O_RDONLY | O_DIRECTORY);
  int error = errno;
  if (root >= 0) close(root);
  if (parent >= 0) {
    const std::string leaf = name.substr(slash + 1);  // the whole name when it has no slash
    error = symlinkat(target.c_str(), parent, leaf.c_str()) == 0 ? 0 : errno;
    close(parent);
  }
  if (error != 0 || parent < 0) reason = OpenFailure(error);
  return error == 0 && parent >= 0;
}

}  // namespace vexmoor
