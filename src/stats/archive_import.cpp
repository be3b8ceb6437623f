#include "stats/archive_import.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_set>

#include "import/pgn_walker.h"
#include "platform/private_directory.h"
#include "platform/read_file.h"
#include "store/game_log_file.h"
#include "store/handle.h"
#include "store/safe_save.h"
#include "store/session_lock.h"

namespace tessik {

namespace {

constexpr int kGamesBetweenProgress = 1000;

// The record's bytes with the opponent cut to 15 characters: equal keys, the same game.
std::string GameKey(const GameRecord& record) {
  std::string key = EncodeGameLog({record});
  key[22 + kOpponentBytes - 1] = '\0';
  return key;
}

// The log's games with the new ones (in time order) each before the first of the log that
// started later; the log's own order is kept.
std::vector<GameRecord> MergedByTime(const std::vector<GameRecord>& log,
                                     std::vector<GameRecord> added) {
  std::stable_sort(added.begin(), added.end(), [](const GameRecord& a, const GameRecord& b) {
    return a.startTime < b.startTime;
  });
  std::vector<GameRecord> merged{log.front()};
  merged.reserve(log.size() + added.size());
  auto next = added.begin();
  for (size_t i = 1; i < log.size(); ++i) {
    for (; next != added.end() && next->startTime < log[i].startTime; ++next) {
      merged.push_back(*next);
    }
    merged.push_back(log[i]);
  }
  merged.insert(merged.end(), next, added.end());
  return merged;
}

// Reads the archive's games into added, counting them into result. False with result.error.
bool ReadArchive(const ArchiveImportRequest& request, const std::vector<GameRecord>& log,
                 std::vector<GameRecord>& added, ArchiveImportResult& result) {
  int fd = -1;
  off_t size = 0;
  if (int error = OpenRegularFile(request.pgnPath, fd, size); error != 0) {
    result.error = "cannot read the PGN " + request.pgnPath + ": " + DescribeReadError(error);
    return false;
  }
  std::unordered_set<std::string> known;
  known.reserve(log.size());
  for (size_t i = 1; i < log.size(); ++i) known.insert(GameKey(log[i]));
  PgnWalker walker(fd);
  ArchiveTags tags;
  StartTimes startTimes;
  auto take = [&tags](std::string_view name, std::string_view value) { tags.Take(name, value); };
  for (; walker.Next(take); tags.Clear()) {
    if (tags.white.empty() && tags.black.empty() && tags.result.empty()) continue;  // no game
    ++result.read;
    GameRecord record;
    const LeftOut why = ArchiveRecord(tags, request.player, request.format, startTimes, record);
    if (why != LeftOut::Kept) {
      ++result.leftOut[static_cast<size_t>(why)];
    } else if (!known.insert(GameKey(record)).second) {
      ++result.present;
    } else {
      added.push_back(record);
    }
    if (request.progress && result.read % kGamesBetweenProgress == 0) {
      request.progress(lseek(fd, 0, SEEK_CUR), size);
    }
  }
  const int error = walker.Error();
  close(fd);
  if (error != 0) {
    result.error = "cannot read the PGN " + request.pgnPath + ": " + DescribeReadError(error);
    return false;
  }
  if (request.progress) request.progress(size, size);
  result.added = static_cast<int>(added.size());
  return true;
}

}  // namespace

ArchiveImportResult ImportArchive(const ArchiveImportRequest& request) {
  ArchiveImportResult result;
  if (!IsSafeFileHandle(request.user)) {
    result.error = "the handle \"" + PrintableName(request.user) + "\" cannot name a game log";
    return result;
  }
  const std::string dataDirectory = DataDirectoryOf(request.directory);
  if (std::string why = MakePrivateDirectory(dataDirectory); !why.empty()) {
    result.error = "cannot use the data folder " + dataDirectory + ": " + why;
    return result;
  }
  // A session of the plug-in appends to the log: the log is rewritten only while no session
  // of the user is open, and none can open until the new log is in place.
  SessionLock lock;
  if (std::string why = lock.Take(dataDirectory + request.user + ".lock"); !why.empty()) {
    result.error = "the files of " + request.user + " are " + why +
                   ": close the user's session in Vexmoor, then import again";
    return result;
  }
  result.logPath = GameLogPath(dataDirectory, request.user);
  std::vector<GameRecord> log;
  const int error = ReadGameLogFile(result.logPath, log);
  const bool existed = error != ENOENT;
  if (existed && error != 0) {
    result.error = "cannot read the game log " + result.logPath + ": " + DescribeReadError(error);
    return result;
  }
  if (!existed || log.empty()) log.assign(1, MarkerRecord());
  if (!HoldsMarker(log.front())) {
    result.error = result.logPath +
                   " is a log of an older version: log in once with the plug-in to convert it";
    return result;
  }
  std::vector<GameRecord> added;
  if (!ReadArchive(request, log, added, result) || added.empty()) return result;
  const std::string contents = EncodeGameLog(MergedByTime(log, std::move(added)));
  if (FileCause cause =
          WriteFileAtomically(result.logPath, result.logPath + ".new", result.logPath + ".bak",
                              existed ? Backup::Replace : Backup::None, contents)) {
    result.error = "cannot write the game log " + result.logPath + ": " + DescribeFileCause(cause);
  }
  return result;
}

}  // namespace tessik
