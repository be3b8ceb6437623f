#include "store/game_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/file_error.h"
#include "platform/huge_pages.h"
#include "store/log_lock.h"

namespace tessik {

namespace {

// More games than anyone plays in a lifetime: a larger file is not a game log.
constexpr off_t kMostLogBytes = off_t{100'000'000} * kGameRecordBytes;
constexpr size_t kBatchRecords = 4096;
constexpr off_t kRecordBytes = static_cast<off_t>(kGameRecordBytes);

// Hands the whole records of source to take as bytes, a batch at a time. Returns no error, or
// a failed read's.
std::error_code ReadRecordBytes(ByteSource source,
                                const std::function<void(const unsigned char*, size_t)>& take) {
  // A batch's room, or less for fewer bytes in memory: a short log costs no large buffer.
  const size_t chunkBytes = std::clamp(source.Remaining().value_or(SIZE_MAX), kGameRecordBytes,
                                       kBatchRecords * kGameRecordBytes);
  // Not zeroed: only bytes read are looked at, and a short log is read into the first page alone.
  const auto chunk = std::make_unique_for_overwrite<unsigned char[]>(chunkBytes);
  size_t held = 0;  // bytes of a record begun in the previous read
  for (;;) {
    const ssize_t got = source.Read(reinterpret_cast<char*>(chunk.get()) + held, chunkBytes - held);
    if (got <= 0) return got < 0 ? ErrnoError() : std::error_code();
    held += static_cast<size_t>(got);
    const size_t whole = held / kGameRecordBytes * kGameRecordBytes;
    take(chunk.get(), whole / kGameRecordBytes);
    std::memmove(chunk.get(), chunk.get() + whole, held - whole);
    held -= whole;
  }
}

// Opens userName's log: its descriptor into fd, what it is into info. Returns no error, or the
// failure's (fd then closed).
std::error_code OpenLogFile(int folder, const std::string& userName, int& fd, struct stat& info) {
  // The log is written without following links, so it is read that way too; O_NONBLOCK: a
  // FIFO in its place cannot hold the open.
  fd =
      openat(folder, GameLogName(userName).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ErrnoError();
  const int error = fstat(fd, &info) != 0          ? errno
                    : !S_ISREG(info.st_mode)       ? EINVAL
                    : info.st_size > kMostLogBytes ? EFBIG
                                                   : 0;
  if (error != 0) close(fd);
  return error != 0 ? ErrnoError(error) : std::error_code();
}

LogMark MarkOf(const struct stat& info, off_t bytes) {
  return {true, info.st_dev, info.st_ino, bytes};
}

bool SameFile(const LogMark& mark, const struct stat& info) {
  return mark.exists && mark.device == info.st_dev && mark.inode == info.st_ino;
}

// The whole records' bytes of a file of size bytes.
off_t WholeRecords(off_t size) { return size - size % kRecordBytes; }

// Writes all of bytes to fd; no error, or the failure's (ENOSPC for a write that stopped short).
std::error_code WriteAll(int fd, const unsigned char* bytes, size_t length) {
  for (size_t done = 0; done < length;) {
    const ssize_t written = write(fd, bytes + done, length - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return ErrnoError(written < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(written);
  }
  return {};
}

// Copies the whole records of the log at from, from offset on, to the end of to.
std::error_code CopyRecordsFrom(int from, off_t offset, off_t end, int to) {
  std::vector<unsigned char> chunk(kBatchRecords * kGameRecordBytes);
  while (offset < end) {
    const size_t want =
        static_cast<size_t>(std::min<off_t>(end - offset, static_cast<off_t>(chunk.size())));
    const ssize_t got = pread(from, chunk.data(), want, offset);
    if (got < 0 && errno == EINTR) continue;
    // Cut short meanwhile: nothing more to carry.
    if (got <= 0) return got < 0 ? ErrnoError() : std::error_code();
    const size_t whole = static_cast<size_t>(got) / kGameRecordBytes * kGameRecordBytes;
    if (whole == 0) return {};
    if (std::error_code error = WriteAll(to, chunk.data(), whole)) return error;
    offset += static_cast<off_t>(whole);
  }
  return {};
}

}  // namespace

std::error_code ReadGameLogFile(int folder, const std::string& userName,
                                std::vector<GameRecord>& records, LogMark* mark) {
  int fd = -1;
  struct stat info {};
  if (std::error_code error = OpenLogFile(folder, userName, fd, info)) return error;
  const size_t before = records.size();
  records.reserve(before + static_cast<size_t>(info.st_size) / kGameRecordBytes);
  // A log of a million games then costs about a thousand page faults instead of eleven thousand.
  AdviseHugePages(records);
  const std::error_code error = ReadGameLog(ByteSource(fd), records);
  close(fd);
  if (mark != nullptr) {
    *mark = MarkOf(info, static_cast<off_t>(records.size() - before) * kRecordBytes);
  }
  return error;
}

std::error_code ReadGameLog(ByteSource source, std::vector<GameRecord>& records) {
  return ReadRecordBytes(source, [&records](const unsigned char* bytes, size_t count) {
    DecodeGameRecords(bytes, count, records);
  });
}

std::error_code VisitGameLogFile(int folder, const std::string& userName,
                                 const std::function<void(std::span<const GameRecord>)>& visit,
                                 const RecordChoice& choice) {
  int fd = -1;
  struct stat info {};
  if (std::error_code error = OpenLogFile(folder, userName, fd, info)) return error;
  std::vector<GameRecord> batch;
  batch.reserve(kBatchRecords);
  bool marker = true;  // the next record is the file's first
  const std::error_code error =
      ReadRecordBytes(ByteSource(fd), [&](const unsigned char* bytes, size_t records) {
        batch.clear();
        if (choice.TakesAll()) {
          DecodeGameRecords(bytes, records, batch);
        } else {
          // Most records of a long log are left out by a look at their opponent field alone.
          for (size_t i = 0; i < records; ++i) {
            const unsigned char* record = bytes + i * kGameRecordBytes;
            if ((marker && i == 0) ||
                choice.Takes(reinterpret_cast<const char*>(record) + kOpponentOffset)) {
              batch.push_back(DecodeGameRecord(record));
            }
          }
        }
        if (records > 0) marker = false;
        visit(batch);
      });
  close(fd);
  return error;
}

LogChange ReadGameLogSince(int folder, const std::string& userName, LogMark& mark,
                           std::vector<GameRecord>& added) {
  struct stat info {};
  if (fstatat(folder, GameLogName(userName).c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return LogChange::None;
  }
  if (SameFile(mark, info) && WholeRecords(info.st_size) <= mark.bytes) return LogChange::None;
  int fd = -1;
  if (OpenLogFile(folder, userName, fd, info)) return LogChange::None;
  std::vector<GameRecord> read;
  LogChange change = LogChange::Replaced;
  off_t from = 0;
  // The file opened may differ from the one looked at. A log read empty is read whole: its
  // first record is the marker.
  if (SameFile(mark, info) && mark.bytes > 0) {
    change = LogChange::Grown;
    from = mark.bytes;
  }
  const std::error_code error = ReadGameLog(ByteSource(fd).Part(static_cast<size_t>(from)), read);
  close(fd);
  if (error) return LogChange::None;
  mark = MarkOf(info, from + static_cast<off_t>(read.size()) * kRecordBytes);
  if (change == LogChange::Grown && read.empty()) return LogChange::None;
  added = std::move(read);
  return change;
}

std::error_code AppendGameRecords(int folder, const std::string& userName,
                                  std::span<const GameRecord> records) {
  // A lock file that cannot be made (a link in its way, the folder removed) stops no append:
  // no rewrite can take the lock either, and one write of whole records at the end of the file
  // tears none of another's.
  LogLock lock;
  if (std::error_code error = lock.Take(folder, userName, kLogLockWait);
      error == std::errc::operation_would_block) {
    return error;
  }
  // O_APPEND: every write lands at the end, wherever the file ends then.
  const int fd = openat(folder, GameLogName(userName).c_str(),
                        O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return ErrnoError();
  std::error_code error;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    error = ErrnoError();
  } else {
    const off_t whole = WholeRecords(info.st_size);
    std::vector<unsigned char> bytes((records.size() + 1) * kGameRecordBytes);
    size_t length = 0;
    if (whole == 0) {
      EncodeGameRecord(ImportPendingMarker(), bytes.data());
      length = kGameRecordBytes;
    }
    for (const GameRecord& record : records) {
      EncodeGameRecord(record, bytes.data() + length);
      length += kGameRecordBytes;
    }
    ssize_t written = -1;
    if (whole != info.st_size && ftruncate(fd, whole) != 0) {
      error = ErrnoError();
    } else if ((written = write(fd, bytes.data(), length)) < 0) {
      error = ErrnoError();
    } else if (static_cast<size_t>(written) != length) {
      error = ErrnoError(ENOSPC);  // the next append cuts the torn record away
    } else if (fsync(fd) != 0) {
      error = ErrnoError();
    }
  }
  if (close(fd) != 0 && !error) error = ErrnoError();
  return error;
}

std::error_code RewriteGameLog(int folder, const std::string& userName, const LogMark& read,
                               const std::string& temporary, const std::string& backup, Backup rule,
                               const FilePieces& pieces) {
  const SavedFile file{folder, GameLogName(userName), temporary, backup};
  int fd = -1;
  if (std::error_code error = WriteTemporaryFile(file, pieces, fd)) return error;
  // From here to the rename no session may append: a record appended to the old file after
  // its tail was carried over would be lost with it.
  LogLock lock;
  std::error_code error = lock.Take(folder, userName, kLogLockWait);
  // Another rewrite replaced the log read: its records are not those read.
  const std::error_code replaced = ErrnoError(EBUSY);
  int current = -1;
  struct stat info {};
  if (!error) {
    const std::error_code opened = OpenLogFile(folder, userName, current, info);
    const bool missing = opened == std::errc::no_such_file_or_directory;
    if (missing && !read.exists) {
      // Still no log: nothing to carry over.
    } else if (opened) {
      error = missing ? replaced : opened;
    } else if (read.exists && !SameFile(read, info)) {
      error = replaced;
    } else if (read.bytes > 0) {
      // Sessions appended since the read: their games go to the end of the new log.
      error = CopyRecordsFrom(current, read.bytes, WholeRecords(info.st_size), fd);
    } else if (WholeRecords(info.st_size) > 0) {
      // The read found no record: a session's append has begun the log since, with a marker of
      // its own, which the new log has already. Anything else was written by another rewrite.
      unsigned char first[kGameRecordBytes];
      std::vector<GameRecord> marker;
      if (pread(current, first, sizeof first, 0) == static_cast<ssize_t>(sizeof first)) {
        DecodeGameRecords(first, 1, marker);
      }
      error = marker.empty() || !AwaitsFirstImport(marker.front())
                  ? replaced
                  : CopyRecordsFrom(current, kRecordBytes, WholeRecords(info.st_size), fd);
    }
    if (current >= 0) close(current);
  }
  if (error) {
    close(fd);
    unlinkat(folder, temporary.c_str(), 0);
    return error;
  }
  return PutInPlace(file, rule, fd);
}

}  // namespace tessik
