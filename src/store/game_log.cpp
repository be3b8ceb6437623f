#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "session/plugin_app.h"

namespace tessik {

namespace {

// Every byte of the file, or false with errno set.
bool ReadWholeFile(int fd, std::vector<unsigned char>& bytes) {
  constexpr size_t kChunk = 1 << 20;
  for (;;) {
    size_t used = bytes.size();
    bytes.resize(used + kChunk);
    ssize_t got = read(fd, bytes.data() + used, kChunk);
    if (got < 0 && errno == EINTR) got = 0;
    if (got < 0) return false;
    bytes.resize(used + static_cast<size_t>(got));
    if (got == 0 && bytes.size() == used) return true;
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
  std::vector<unsigned char> bytes;
  bool read = fd >= 0 && ReadWholeFile(fd, bytes);
  int error = errno;
  if (fd >= 0) close(fd);
  if (fd < 0 && error == ENOENT) return GameLogState::NoLog;
  if (!read) {
    AppendOutputLine(*this, "Cannot read the game log " + path + " (" + std::strerror(error) +
                                "): nothing will be saved in this session.");
    userFilesBlocked = true;
    gameLog.assign(1, MarkerRecord());
    return GameLogState::UnreadableLog;
  }
  size_t records = bytes.size() / kGameRecordBytes;  // an incomplete tail is left out
  if (records == 0) return GameLogState::NoLog;      // not even a marker: start afresh
  gameLog.reserve(records);
  for (size_t i = 0; i < records; ++i) {
    gameLog.push_back(DecodeGameRecord(bytes.data() + i * kGameRecordBytes));
  }
  return HoldsMarker(gameLog[0]) ? GameLogState::CurrentLog : GameLogState::OldLog;
}

}  // namespace tessik
