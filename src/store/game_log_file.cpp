#include "store/game_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/huge_pages.h"

namespace tessik {

namespace {

// More games than anyone plays in a lifetime: a larger file is not a game log.
constexpr off_t kMostLogBytes = off_t{100'000'000} * kGameRecordBytes;
constexpr size_t kBatchRecords = 4096;

// Hands the whole records of source to take as bytes, a batch at a time. Returns 0 or the errno
// of a failed read.
int ReadRecordBytes(ByteSource source,
                    const std::function<void(const unsigned char*, size_t)>& take) {
  // A batch's room, or less for fewer bytes in memory: a short log costs no large buffer.
  const size_t chunkBytes = std::clamp(source.Remaining().value_or(SIZE_MAX), kGameRecordBytes,
                                       kBatchRecords * kGameRecordBytes);
  std::vector<unsigned char> chunk(chunkBytes);
  size_t held = 0;  // bytes of a record begun in the previous read
  for (;;) {
    const ssize_t got =
        source.Read(reinterpret_cast<char*>(chunk.data()) + held, chunkBytes - held);
    if (got <= 0) return got < 0 ? errno : 0;
    held += static_cast<size_t>(got);
    const size_t whole = held / kGameRecordBytes * kGameRecordBytes;
    take(chunk.data(), whole / kGameRecordBytes);
    std::memmove(chunk.data(), chunk.data() + whole, held - whole);
    held -= whole;
  }
}

// Opens the log at path: its descriptor into fd, the whole records it holds into count.
// Returns 0 or the errno of the failure (fd then closed).
int OpenLogFile(const std::string& path, int& fd, size_t& count) {
  // The log is written without following links, so it is read that way too; O_NONBLOCK: a
  // FIFO in its place cannot hold the open.
  fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info {};
  const int error = fstat(fd, &info) != 0          ? errno
                    : !S_ISREG(info.st_mode)       ? EINVAL
                    : info.st_size > kMostLogBytes ? EFBIG
                                                   : 0;
  if (error != 0) close(fd);
  count = static_cast<size_t>(info.st_size) / kGameRecordBytes;
  return error;
}

}  // namespace

int ReadGameLogFile(const std::string& path, std::vector<GameRecord>& records) {
  int fd = -1;
  size_t count = 0;
  if (int error = OpenLogFile(path, fd, count); error != 0) return error;
  records.reserve(records.size() + count);
  // A log of a million games then costs about a thousand page faults instead of eleven thousand.
  AdviseHugePages(records);
  const int error = ReadGameLog(ByteSource(fd), records);
  close(fd);
  return error;
}

int ReadGameLog(ByteSource source, std::vector<GameRecord>& records) {
  return ReadRecordBytes(source, [&records](const unsigned char* bytes, size_t count) {
    DecodeGameRecords(bytes, count, records);
  });
}

int VisitGameLogFile(const std::string& path,
                     const std::function<void(std::span<const GameRecord>)>& visit) {
  int fd = -1;
  size_t count = 0;
  if (int error = OpenLogFile(path, fd, count); error != 0) return error;
  std::vector<GameRecord> batch;
  batch.reserve(kBatchRecords);
  const int error =
      ReadRecordBytes(ByteSource(fd), [&](const unsigned char* bytes, size_t records) {
        batch.clear();
        DecodeGameRecords(bytes, records, batch);
        visit(batch);
      });
  close(fd);
  return error;
}

}  // namespace tessik
