#include "stats/archive_import.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "import/pgn_walker.h"
#include "import/same_game.h"
#include "platform/private_directory.h"
#include "platform/read_file.h"
#include "stats/log_location.h"
#include "store/game_log_file.h"
#include "store/safe_save.h"
#include "store/session_lock.h"

namespace tessik {

namespace {

constexpr int kGamesBetweenProgress = 1000;

// The log's games that a game of the archive may stand for, each for one at most.
class LogGames {
 public:
  explicit LogGames(const std::vector<GameRecord>& log) {
    for (size_t i = 1; i < log.size(); ++i) groups_[GroupOf(log[i])].push_back({&log[i], false});
  }
  // Whether the log holds game: the same record (the log's duplicate test), or for a game of
  // the host's PGN also the same game recorded live (or imported, its pool since settled).
  bool Take(const GameRecord& game, bool fromHostPgn) {
    auto group = groups_.find(GroupOf(game));
    if (group == groups_.end()) return false;
    for (bool playedLive : {false, true}) {
      if (playedLive && !fromHostPgn) break;
      for (Entry& entry : group->second) {
        if (entry.taken) continue;
        if (playedLive ? SameGamePlayedLive(*entry.game, game) : SameGame(*entry.game, game)) {
          return entry.taken = true;
        }
      }
    }
    return false;
  }

 private:
  struct Entry {
    const GameRecord* game;
    bool taken;
  };
  // Games of one opponent (15 characters), colour and result.
  static std::string GroupOf(const GameRecord& game) {
    return std::string(OpponentName(game).substr(0, kOpponentBytes - 1)) +
           static_cast<char>(game.userWhite) + static_cast<char>(game.result);
  }
  std::unordered_map<std::string, std::vector<Entry>> groups_;
};

// The order of added by start time, games of one start time in the order read: each game's
// start time (biased to sort unsigned) above its place, sorted as numbers. Sorting these eight
// bytes a game, not the records, keeps a large import from holding another copy of them.
std::vector<uint64_t> TimeOrder(const std::vector<GameRecord>& added) {
  std::vector<uint64_t> order(added.size());
  for (size_t i = 0; i < added.size(); ++i) {
    order[i] = uint64_t{static_cast<uint32_t>(added[i].startTime) ^ 0x80000000u} << 32 | i;
  }
  std::sort(order.begin(), order.end());
  return order;
}

// The file of the log's games with the new ones (in time order) each before the first of the
// log that started later; the log's own order is kept. Encoded as they are merged: a large
// import holds no merged copy.
std::string MergedLogFile(const std::vector<GameRecord>& log,
                          const std::vector<GameRecord>& added) {
  std::string file;
  file.reserve((log.size() + added.size()) * kGameRecordBytes);
  const auto put = [&file](const GameRecord& record) {
    unsigned char bytes[kGameRecordBytes];
    EncodeGameRecord(record, bytes);
    file.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
  };
  put(log.front());
  const std::vector<uint64_t> order = TimeOrder(added);
  auto next = order.begin();
  const auto addedGame = [&added](uint64_t key) -> const GameRecord& {
    return added[static_cast<uint32_t>(key)];
  };
  for (size_t i = 1; i < log.size(); ++i) {
    for (; next != order.end() && addedGame(*next).startTime < log[i].startTime; ++next) {
      put(addedGame(*next));
    }
    put(log[i]);
  }
  for (; next != order.end(); ++next) put(addedGame(*next));
  return file;
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
  // Room for every game the file could hold (a game takes some hundred bytes; no game fewer
  // than 40), up to four million, in address space only: pages come as games fill them, and a
  // large import copies no game as the list grows.
  constexpr size_t kFewestGameBytes = 40, kMostReserved = size_t{1} << 22;
  added.reserve(std::min(static_cast<size_t>(size) / kFewestGameBytes, kMostReserved));
  LogGames known(log);
  PgnWalker walker{ByteSource(fd)};
  ArchiveTags tags;
  StartTimes startTimes;
  auto take = [&tags](std::string_view name, std::string_view value) { tags.Take(name, value); };
  for (; walker.Next(take); tags.Clear()) {
    const PgnTags& t = tags.server;
    if (t[kTagWhite].empty() && t[kTagBlack].empty() && t[kTagResult].empty()) continue;
    ++result.read;
    GameRecord record;
    const PgnFormat format =
        request.format == PgnFormat::Auto ? DetectFormat(tags) : request.format;
    const LeftOut why = ArchiveRecord(tags, request.player, format, startTimes, record);
    if (why != LeftOut::Kept) {
      ++result.leftOut[static_cast<size_t>(why)];
    } else if (known.Take(record, format == PgnFormat::Server)) {
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
  result.logPath = LogPathOf(request.directory, request.user, result.error);
  if (result.logPath.empty()) return result;
  const std::string dataDirectory = DataDirectoryOf(request.directory);
  // Named without its last slash, which would make the system follow a link in its place.
  const std::string folder = dataDirectory.substr(0, dataDirectory.size() - 1);
  if (std::string why = MakePrivateDirectory(folder); !why.empty()) {
    result.error = "cannot use the data folder " + folder + ": " + why;
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
  // The plug-in rebuilds such a log from the host's PGN at the next login, keeping only the
  // games it recorded live: games added now would be lost then.
  if (AwaitsFirstImport(log.front())) {
    result.error = result.logPath +
                   " awaits the plug-in's first import of the host's PGN: log in once with the "
                   "plug-in and let it finish, then import";
    return result;
  }
  std::vector<GameRecord> added;
  if (!ReadArchive(request, log, added, result) || added.empty()) return result;
  const std::string contents = MergedLogFile(log, added);
  if (FileCause cause =
          WriteFileAtomically(result.logPath, result.logPath + ".new", result.logPath + ".bak",
                              existed ? Backup::Replace : Backup::None, contents)) {
    result.error = "cannot write the game log " + result.logPath + ": " + DescribeFileCause(cause);
  }
  return result;
}

}  // namespace tessik
