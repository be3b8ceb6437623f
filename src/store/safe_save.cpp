#include "store/safe_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/file_error.h"

namespace tessik {

namespace {

// Keeps current also under backup (a hard link), never replacing an existing backup: no error,
// EEXIST for an existing backup, ENOENT when there is no current file, or the failure.
std::error_code KeepAsBackup(const SavedFile& file) {
  const int folder = file.folder;
  if (linkat(folder, file.current.c_str(), folder, file.backup.c_str(), 0) == 0) return {};
  if (errno == EEXIST || errno == ENOENT) return ErrnoError();
  // A file system without hard links: the current file moves, unless the backup exists.
  if (renameat2(folder, file.current.c_str(), folder, file.backup.c_str(), RENAME_NOREPLACE) == 0) {
    return {};
  }
  return ErrnoError();
}

}  // namespace

std::error_code WriteTemporaryFile(const SavedFile& file, const FilePieces& pieces, int& fd) {
  // Whatever stands under the name goes first, and the file is made anew: a link put there
  // (by anyone, to anything) is removed, never written through.
  fd = -1;
  if (unlinkat(file.folder, file.temporary.c_str(), 0) != 0 && errno != ENOENT) {
    return ErrnoError();
  }
  fd = openat(file.folder, file.temporary.c_str(),
              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, file.mode);
  if (fd < 0) return ErrnoError();
  std::error_code error;
  for (std::string_view piece = pieces(); !piece.empty() && !error; piece = pieces()) {
    for (size_t done = 0; done < piece.size() && !error;) {
      ssize_t written = write(fd, piece.data() + done, piece.size() - done);
      if (written > 0) {
        done += static_cast<size_t>(written);
      } else if (written < 0 && errno != EINTR) {
        error = ErrnoError();
      }
    }
  }
  if (error) {
    close(std::exchange(fd, -1));
    unlinkat(file.folder, file.temporary.c_str(), 0);
  }
  return error;
}

std::error_code PutInPlace(const SavedFile& file, Backup rule, int fd) {
  std::error_code error = fsync(fd) != 0 ? ErrnoError() : std::error_code();
  if (close(fd) != 0 && !error) error = ErrnoError();
  if (error) {
    unlinkat(file.folder, file.temporary.c_str(), 0);
    return error;
  }
  if (rule == Backup::Replace) unlinkat(file.folder, file.backup.c_str(), 0);
  if (rule != Backup::None) {
    const std::error_code kept = KeepAsBackup(file);
    // A first save has no current file to keep. An old file that cannot be kept must stay:
    // the new one is left, whole, under the temporary name.
    if (rule == Backup::KeepOld && kept) return kept;
  }
  // One atomic step from the old file to the new: a crash leaves one or the other.
  if (renameat(file.folder, file.temporary.c_str(), file.folder, file.current.c_str()) != 0) {
    return ErrnoError();
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
  return {};
}

std::error_code WriteFileAtomically(const SavedFile& file, Backup rule, std::string_view contents) {
  return WriteFileAtomically(file, rule,
                             [&contents] { return std::exchange(contents, std::string_view()); });
}

std::error_code WriteFileAtomically(const SavedFile& file, Backup rule, const FilePieces& pieces) {
  int fd = -1;
  if (std::error_code error = WriteTemporaryFile(file, pieces, fd)) return error;
  return PutInPlace(file, rule, fd);
}

}  // namespace tessik
