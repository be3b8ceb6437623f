#include "platform/private_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessik {

std::string MakePrivateDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
  // Checked on the opened directory itself: O_NOFOLLOW refuses a link put in its place.
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ELOOP) return "is a symbolic link";
    if (errno == ENOTDIR) return "is not a directory";
    return std::strerror(errno);
  }
  struct stat info {};
  std::string problem;
  if (fstat(fd, &info) != 0) {
    problem = std::strerror(errno);
  } else if (info.st_uid != geteuid()) {
    problem = "belongs to another user";
  } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 &&
             fchmod(fd, info.st_mode & ~(S_IWGRP | S_IWOTH) & 07777) != 0) {
    problem = std::strerror(errno);
  }
  close(fd);
  return problem;
}

}  // namespace tessik
