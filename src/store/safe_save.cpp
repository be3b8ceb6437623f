#include "store/safe_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace tessik {

namespace {

// Makes the renames in a file's directory durable.
void SyncDirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Writes and syncs a whole new file: what stood under its name is removed first.
FileCause WriteNewFile(const std::string& path, const FilePieces& pieces) {
  // Whatever stands under the name goes first, and the file is made anew: a link put there
  // (by anyone, to anything) is removed, never written through.
  if (unlink(path.c_str()) != 0 && errno != ENOENT) return FileCauseFromErrno(errno);
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return errno == ENOENT ? kFileBadPath : FileCauseFromErrno(errno);
  FileCause cause = kFileNone;
  for (std::string_view piece = pieces(); !piece.empty() && cause == kFileNone; piece = pieces()) {
    for (size_t done = 0; done < piece.size() && cause == kFileNone;) {
      ssize_t written = write(fd, piece.data() + done, piece.size() - done);
      if (written > 0) {
        done += static_cast<size_t>(written);
      } else if (written < 0 && errno != EINTR) {
        cause = FileCauseFromErrno(errno);
      }
    }
  }
  if (cause == kFileNone && fsync(fd) != 0) cause = FileCauseFromErrno(errno);
  if (close(fd) != 0 && cause == kFileNone) cause = FileCauseFromErrno(errno);
  return cause;
}

// Keeps current also under backup (a hard link), never replacing an existing backup: kFileNone
// or the cause (an existing backup: access denied, as a rename onto an existing file fails on
// the desktop platform).
FileCause KeepAsBackup(const std::string& current, const std::string& backup) {
  if (link(current.c_str(), backup.c_str()) == 0) return kFileNone;
  if (errno == EEXIST) return kFileAccessDenied;  // as a rename onto an existing file fails
  if (errno == ENOENT) return kFileNotFound;
  // A file system without hard links: the current file moves, unless the backup exists.
  if (renameat2(AT_FDCWD, current.c_str(), AT_FDCWD, backup.c_str(), RENAME_NOREPLACE) == 0) {
    return kFileNone;
  }
  return errno == EEXIST ? kFileAccessDenied : FileCauseFromErrno(errno);
}

}  // namespace

FileCause WriteFileAtomically(const std::string& current, const std::string& temporary,
                              const std::string& backup, Backup rule, std::string_view contents) {
  return WriteFileAtomically(current, temporary, backup, rule,
                             [&contents] { return std::exchange(contents, std::string_view()); });
}

FileCause WriteFileAtomically(const std::string& current, const std::string& temporary,
                              const std::string& backup, Backup rule, const FilePieces& pieces) {
  if (rule == Backup::Replace) std::remove(backup.c_str());
  FileCause cause = WriteNewFile(temporary, pieces);
  if (cause != kFileNone) {
    std::remove(temporary.c_str());
    return cause;
  }
  if (rule != Backup::None) {
    FileCause kept = KeepAsBackup(current, backup);
    // A first save has no current file to keep. An old file that cannot be kept must stay:
    // the new one is left, whole, under the temporary name.
    if (rule == Backup::KeepOld && kept != kFileNone) return kept;
  }
  // One atomic step from the old file to the new: a crash leaves one or the other.
  if (std::rename(temporary.c_str(), current.c_str()) != 0) return FileCauseFromErrno(errno);
  SyncDirectoryOf(current);
  return kFileNone;
}

}  // namespace tessik
