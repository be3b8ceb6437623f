#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "session/plugin_app.h"

namespace tessik {

namespace {

// Decodes every whole record of the file into records; an incomplete tail is left out.
// False with errno set when the file cannot be read.
bool ReadRecords(int fd, std::vector<GameRecord>& records) {
  struct stat info {};
  if (fstat(fd, &info) == 0 && info.st_size > 0) {
    records.reserve(static_cast<size_t>(info.st_size) / kGameRecordBytes);
  }
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

std::string CPluginApp::GameLogPath() const { return dataDirectory + userName + ".glg"; }

GameLogState CPluginApp::LoadGameLog() {
  if (!UserFilesAllowed()) {
    gameLog.assign(1, MarkerRecord());
    return GameLogState::GuestLog;
  }
  gameLog.clear();
  const std::string path = GameLogPath();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  bool loaded = fd >= 0 && ReadRecords(fd, gameLog);
  int error = errno;
  if (fd >= 0) close(fd);
  if (fd < 0 && error == ENOENT) {
    gameLog.assign(1, MarkerRecord());  // games played before the import count from record 1
    return GameLogState::NoLog;
  }
  if (!loaded) {
    AppendOutputLine(*this, "Cannot read the game log " + path + " (" + std::strerror(error) +
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
