#include "store/safe_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace tessik {

namespace {

// Keeps current also under backup (a hard link), never replacing an existing backup: kFileNone
// or the cause (an existing backup: access denied, as a rename onto an existing file fails on
// the desktop platform).
FileCause KeepAsBackup(const SavedFile& file) {
  const int folder = file.folder;
  if (linkat(folder, file.current.c_str(), folder, file.backup.c_str(), 0) == 0) return kFileNone;
  if (errno == EEXIST) return kFileAccessDenied;  // as a rename onto an existing file fails
  if (errno == ENOENT) return kFileNotFound;
  // A file system without hard links: the current file moves, unless the backup exists.
  if (renameat2(folder, file.current.c_str(), folder, file.backup.c_str(), RENAME_NOREPLACE) == 0) {
    return kFileNone;
  }
  return errno == EEXIST ? kFileAccessDenied : FileCauseFromErrno(errno);
}

}  // namespace

FileCause WriteTemporaryFile(const SavedFile& file, const FilePieces& pieces, int& fd) {
  // Whatever stands under the name goes first, and the file is made anew: a link put there
  // (by anyone, to anything) is removed, never written through.
  fd = -1;
  if (unlinkat(file.folder, file.temporary.c_str(), 0) != 0 && errno != ENOENT) {
    return FileCauseFromErrno(errno);
  }
  fd = openat(file.folder, file.temporary.c_str(),
              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, file.mode);
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
  if (cause != kFileNone) {
    close(std::exchange(fd, -1));
    unlinkat(file.folder, file.temporary.c_str(), 0);
  }
  return cause;
}

FileCause PutInPlace(const SavedFile& file, Backup rule, int fd) {
  FileCause cause = fsync(fd) != 0 ? FileCauseFromErrno(errno) : kFileNone;
  if (close(fd) != 0 && cause == kFileNone) cause = FileCauseFromErrno(errno);
  if (cause != kFileNone) {
    unlinkat(file.folder, file.temporary.c_str(), 0);
    return cause;
  }
  if (rule == Backup::Replace) unlinkat(file.folder, file.backup.c_str(), 0);
  if (rule != Backup::None) {
    FileCause kept = KeepAsBackup(file);
    // A first save has no current file to keep. An old file that cannot be kept must stay:
    // the new one is left, whole, under the temporary name.
    if (rule == Backup::KeepOld && kept != kFileNone) return kept;
  }
  // One atomic step from the old file to the new: a crash leaves one or the other.
  if (renameat(file.folder, file.temporary.c_str(), file.folder, file.current.c_str()) != 0) {
    return FileCauseFromErrno(errno);
  }
  // Makes the rename durable: a sync of the folder that holds the names (for a path, the
  // folder it names).
  if (file.folder != AT_FDCWD) {
    fsync(file.folder);
  } else {
    const size_t slash = file.current.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : file.current.substr(0, slash + 1);
    if (const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
      fsync(fd);
      close(fd);
    }
  }
  return kFileNone;
}

FileCause WriteFileAtomically(const SavedFile& file, Backup rule, std::string_view contents) {
  return WriteFileAtomically(file, rule,
                             [&contents] { return std::exchange(contents, std::string_view()); });
}

FileCause WriteFileAtomically(const SavedFile& file, Backup rule, const FilePieces& pieces) {
  int fd = -1;
  if (FileCause cause = WriteTemporaryFile(file, pieces, fd); cause != kFileNone) return cause;
  return PutInPlace(file, rule, fd);
}

}  // namespace tessik
