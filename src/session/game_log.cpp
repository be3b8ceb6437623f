#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/read_file.h"
#include "session/plugin_app.h"

namespace tessik {

namespace {

// More games than anyone plays in a lifetime: a larger file is not a game log.
constexpr off_t kMostLogBytes = off_t{100'000'000} * kGameRecordBytes;

// Decodes every whole record of the file into records; an incomplete tail is left out.
// False with errno set when the file cannot be read: EINVAL for anything but a regular file,
// EFBIG for a file larger than any log.
bool ReadRecords(int fd, std::vector<GameRecord>& records) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  errno = !S_ISREG(info.st_mode) ? EINVAL : info.st_size > kMostLogBytes ? EFBIG : 0;
  if (errno != 0) return false;
  records.reserve(static_cast<size_t>(info.st_size) / kGameRecordBytes);
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
    for (size_t offset = 0; offset < whole; offset += kGameRecordBytes) {
      records.push_back(DecodeGameRecord(chunk.data() + offset));
    }
    std::memmove(chunk.data(), chunk.data() + whole, held - whole);
    held -= whole;
  }
}

}  // namespace

std::string CPluginApp::GameLogPath() const { return tessik::GameLogPath(dataDirectory, userName); }

GameLogState CPluginApp::LoadGameLog() {
  if (!UserFilesAllowed()) {
    gameLog.assign(1, MarkerRecord());
    return GameLogState::GuestLog;
  }
  gameLog.clear();
  const std::string path = GameLogPath();
  // The log is written without following links, so it is read that way too; O_NONBLOCK: a
  // FIFO in its place cannot hold the open.
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  bool loaded = fd >= 0 && ReadRecords(fd, gameLog);
  int error = errno;
  if (fd >= 0) close(fd);
  if (fd < 0 && error == ENOENT) {
    gameLog.assign(1, MarkerRecord());  // games played before the import count from record 1
    return GameLogState::NoLog;
  }
  if (!loaded) {
    gameLog.clear();
    AppendOutputLine(*this, "Cannot read the game log " + path + " (" + DescribeReadError(error) +
                                "): nothing will be saved in this session.");
    userFilesBlocked = true;
    gameLog.assign(1, MarkerRecord());
    return GameLogState::UnreadableLog;
  }
  if (gameLog.empty()) {  // not even a marker: start afresh
    gameLog.assign(1, MarkerRecord());
    return GameLogState::NoLog;
  }
  if (AwaitsFirstImport(gameLog[0])) return GameLogState::PendingLog;
  return HoldsMarker(gameLog[0]) ? GameLogState::CurrentLog : GameLogState::OldLog;
}

}  // namespace tessik
