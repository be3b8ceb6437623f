#include "platform/private_directory.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "platform/file_error.h"

namespace tessik {

Folder::Folder(Folder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

void Folder::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

namespace {

// Whether a user other than the effective one belongs to the group: as a listed member, or by
// the group being their own.
bool GroupHoldsOthers(gid_t gid) {
  const uid_t self = geteuid();
  std::vector<char> buffer(16384);
  group entry{}, *found = nullptr;
  if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
    return true;  // a group nobody can name may hold anyone
  }
  for (char** member = entry.gr_mem; *member != nullptr; ++member) {
    passwd user{}, *known = nullptr;
    std::vector<char> userBuffer(16384);
    if (getpwnam_r(*member, &user, userBuffer.data(), userBuffer.size(), &known) != 0 ||
        known == nullptr || user.pw_uid != self) {
      return true;
    }
  }
  bool others = false;
  setpwent();
  while (passwd* user = getpwent()) {
    if (user->pw_gid == gid && user->pw_uid != self) others = true;
  }
  endpwent();
  return others;
}

// Whether users other than this one could put something of theirs in the folder.
bool WrittenByOthers(const struct stat& info) {
  const bool stickyAndOurs = (info.st_mode & S_ISVTX) != 0 && info.st_uid == geteuid();
  return !stickyAndOurs && ((info.st_mode & S_IWOTH) != 0 ||
                            ((info.st_mode & S_IWGRP) != 0 && GroupHoldsOthers(info.st_gid)));
}

}  // namespace

FolderCheck OpenPrivateFolder(const std::string& parent, const std::string& name, Folder& folder) {
  FolderCheck check;
  int parentFd = open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat info {};
  if (parentFd < 0 || fstat(parentFd, &info) != 0) {
    check.error = ErrnoError();
  } else if (WrittenByOthers(info)) {
    check.error = FolderProblem::OpenToOthers;
  }
  if (check.error) {
    if (parentFd >= 0) close(parentFd);
    return check;
  }
  if (mkdirat(parentFd, name.c_str(), 0700) != 0 && errno != EEXIST) {
    check.error = ErrnoError();
    close(parentFd);
    return check;
  }
  // Checked on the opened directory itself: O_NOFOLLOW refuses a link put in its place.
  const int fd = openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  const int openError = errno;
  close(parentFd);
  if (fd < 0) {
    check.error = openError == ELOOP     ? FolderProblem::SymbolicLink
                  : openError == ENOTDIR ? FolderProblem::NotADirectory
                                         : ErrnoError(openError);
    return check;
  }
  if (fstat(fd, &info) != 0) {
    check.error = ErrnoError();
  } else if (info.st_uid != geteuid()) {
    check.error = FolderProblem::AnotherUsers;
  } else if ((info.st_mode & 077) != 0) {
    check.tightened = true;
    if (fchmod(fd, info.st_mode & 07700) != 0) check.error = ErrnoError();
  }
  if (check.error) {
    close(fd);
    return check;
  }
  folder = Folder(fd, parent.empty() ? name : parent + (parent.back() == '/' ? "" : "/") + name);
  return check;
}

std::error_code OpenFolder(const std::string& path, Folder& folder) {
  // A slash at the end would make the system follow a link in the folder's place.
  std::string name = path;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  const int fd = open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return ErrnoError();
  folder = Folder(fd, name);
  return {};
}

std::error_code OpenUnsharedFolder(const std::string& path, Folder& folder) {
  Folder opened;
  if (std::error_code error = OpenFolder(path, opened)) return error;
  struct stat info {};
  if (fstat(opened.fd(), &info) != 0) return ErrnoError();
  if (WrittenByOthers(info)) return FolderProblem::OpenToOthers;
  folder = std::move(opened);
  return {};
}

}  // namespace tessik
