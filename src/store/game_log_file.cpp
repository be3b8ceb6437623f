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

// Asks for the records' memory in huge pages where the system gives them on request: a log of a
// million games then costs about a thousand page faults instead of eleven thousand.
void AdviseHugePages(std::vector<GameRecord>& records) {
  constexpr uintptr_t kPage = 4096;
  auto begin = reinterpret_cast<uintptr_t>(records.data());
  const uintptr_t end = (begin + records.capacity() * sizeof(GameRecord)) & ~(kPage - 1);
  begin = (begin + kPage - 1) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Decodes every whole record of the open file into records. False with errno set.
bool ReadRecords(int fd, std::vector<GameRecord>& records) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  errno = !S_ISREG(info.st_mode) ? EINVAL : info.st_size > kMostLogBytes ? EFBIG : 0;
  if (errno != 0) return false;
  records.reserve(static_cast<size_t>(info.st_size) / kGameRecordBytes);
  AdviseHugePages(records);
  constexpr size_t kChunk = 4096 * kGameRecordBytes;
  std::vector<unsigned char> chunk(kChunk);
  size_t held = 0;  // bytes of a record begun in the previous read
  for (;;) {
    ssize_t got = read(fd, chunk.data() + held, kChunk - held);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    held += static_cast<size_t>(got);
    size_t whole = held / kGameRecordBytes * kGameRecordBytes;
    DecodeGameRecords(chunk.data(), whole / kGameRecordBytes, records);
    std::memmove(chunk.data(), chunk.data() + whole, held - whole);
    held -= whole;
  }
}

}  // namespace

int ReadGameLogFile(const std::string& path, std::vector<GameRecord>& records) {
  // The log is written without following links, so it is read that way too; O_NONBLOCK: a
  // FIFO in its place cannot hold the open.
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  bool read = ReadRecords(fd, records);
  int error = read ? 0 : errno;
  close(fd);
  return error;
}

}  // namespace tessik
