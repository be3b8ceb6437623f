#include "store/game_log_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tessik {

namespace {

// More games than anyone plays in a lifetime: a larger file is not a game log.
constexpr off_t kMostLogBytes = off_t{100'000'000} * kGameRecordBytes;
constexpr size_t kBatchRecords = 4096;

// Asks for the records' memory in huge pages where the system gives them on request: a log of a
// million games then costs about a thousand page faults instead of eleven thousand.
void AdviseHugePages(std::vector<GameRecord>& records) {
  constexpr uintptr_t kPage = 4096;
  auto begin = reinterpret_cast<uintptr_t>(records.data());
  const uintptr_t end = (begin + records.capacity() * sizeof(GameRecord)) & ~(kPage - 1);
  begin = (begin + kPage - 1) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Reads the whole records of the log at path: tells sized how many the file holds, then hands
// them to take as bytes, a batch at a time. Returns 0 or the errno of the failure.
int ReadRecordBytes(const std::string& path, const std::function<void(size_t)>& sized,
                    const std::function<void(const unsigned char*, size_t)>& take) {
  // The log is written without following links, so it is read that way too; O_NONBLOCK: a
  // FIFO in its place cannot hold the open.
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info {};
  int error = fstat(fd, &info) != 0          ? errno
              : !S_ISREG(info.st_mode)       ? EINVAL
              : info.st_size > kMostLogBytes ? EFBIG
                                             : 0;
  if (error == 0) sized(static_cast<size_t>(info.st_size) / kGameRecordBytes);
  constexpr size_t kChunk = kBatchRecords * kGameRecordBytes;
  std::vector<unsigned char> chunk(error == 0 ? kChunk : 0);
  size_t held = 0;  // bytes of a record begun in the previous read
  while (error == 0) {
    const ssize_t got = read(fd, chunk.data() + held, kChunk - held);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = got < 0 ? errno : 0;
      break;
    }
    held += static_cast<size_t>(got);
    const size_t whole = held / kGameRecordBytes * kGameRecordBytes;
    take(chunk.data(), whole / kGameRecordBytes);
    std::memmove(chunk.data(), chunk.data() + whole, held - whole);
    held -= whole;
  }
  close(fd);
  return error;
}

}  // namespace

int ReadGameLogFile(const std::string& path, std::vector<GameRecord>& records) {
  return ReadRecordBytes(
      path,
      [&records](size_t count) {
        records.reserve(records.size() + count);
        AdviseHugePages(records);
      },
      [&records](const unsigned char* bytes, size_t count) {
        DecodeGameRecords(bytes, count, records);
      });
}

int VisitGameLogFile(const std::string& path,
                     const std::function<void(std::span<const GameRecord>)>& visit) {
  std::vector<GameRecord> batch;
  batch.reserve(kBatchRecords);
  return ReadRecordBytes(
      path, [](size_t) {},
      [&](const unsigned char* bytes, size_t count) {
        batch.clear();
        DecodeGameRecords(bytes, count, batch);
        visit(batch);
      });
}

}  // namespace tessik
