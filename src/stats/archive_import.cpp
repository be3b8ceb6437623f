#include "stats/archive_import.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "import/pgn_parts.h"
#include "import/pgn_walker.h"
#include "platform/file_error.h"
#include "platform/huge_pages.h"
#include "platform/private_directory.h"
#include "platform/read_file.h"
#include "platform/side_by_side.h"
#include "stats/log_duplicates.h"
#include "stats/log_location.h"
#include "store/file_cause.h"
#include "store/game_log_file.h"
#include "store/safe_save.h"

namespace tessik {

namespace {

constexpr int kGamesBetweenProgress = 1000;

// Room for every game bytes of PGN could hold (a game takes some hundred bytes; no game fewer
// than 40), up to four million, in address space only: pages come as games fill them, and a
// large import copies no game as the list grows.
size_t RoomForGames(size_t bytes) {
  constexpr size_t kFewestGameBytes = 40, kMostReserved = size_t{1} << 22;
  return std::min(bytes / kFewestGameBytes, kMostReserved);
}

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
// log that started later; the log's own order is kept. Encoded a batch at a time as it is
// written: a large import holds no merged copy.
class MergedLogPieces {
 public:
  MergedLogPieces(const std::vector<GameRecord>& log, const std::vector<GameRecord>& added)
      : log_(&log), added_(&added), order_(TimeOrder(added)) {}

  std::string_view operator()() {
    constexpr size_t kBatchBytes = 4096 * kGameRecordBytes;
    batch_.clear();
    for (const GameRecord* record; batch_.size() < kBatchBytes && (record = Next());) {
      unsigned char bytes[kGameRecordBytes];
      EncodeGameRecord(*record, bytes);
      batch_.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    return batch_;
  }

 private:
  // The next game of the file, or null after the last: the log's first record (its marker)
  // first, then an added game whenever it started before the log's next game.
  const GameRecord* Next() {
    const std::vector<GameRecord>& log = *log_;
    const bool addedLeft = nextAdded_ < order_.size();
    const GameRecord* added =
        addedLeft ? &(*added_)[static_cast<uint32_t>(order_[nextAdded_])] : nullptr;
    if (nextLog_ > 0 && added != nullptr &&
        (nextLog_ == log.size() || added->startTime < log[nextLog_].startTime)) {
      ++nextAdded_;
      return added;
    }
    return nextLog_ < log.size() ? &log[nextLog_++] : nullptr;
  }

  const std::vector<GameRecord>* log_;    // not empty: its marker first
  const std::vector<GameRecord>* added_;  // both must outlive the pieces
  std::vector<uint64_t> order_;
  size_t nextLog_ = 0;
  size_t nextAdded_ = 0;
  std::string batch_;
};

// The games of one part of the archive, as read.
struct ArchivePart {
  int read = 0;
  std::array<int, static_cast<size_t>(LeftOut::count)> leftOut{};
  std::vector<GameRecord> kept;       // the user's games, in file order
  std::vector<uint8_t> fromHostPgn;   // of each kept game: read as the host's PGN
  int error = 0;                      // errno of a failed read
  std::atomic<size_t> bytesRead = 0;  // as far as the last progress report
};

void ReadArchivePart(ByteSource source, const ArchiveImportRequest& request, ArchivePart& part,
                     const std::function<void()>& progress) {
  AdviseHugePages(part.kept);
  PgnWalker walker(source);
  ArchiveTags tags;
  StartTimes startTimes;
  auto take = [&tags](std::string_view name, std::string_view value) { tags.Take(name, value); };
  for (; walker.Next(take); tags.Clear()) {
    const PgnTags& t = tags.server;
    if (t[kTagWhite].empty() && t[kTagBlack].empty() && t[kTagResult].empty()) continue;
    ++part.read;
    GameRecord record;
    const PgnFormat format =
        request.format == PgnFormat::Auto ? DetectFormat(tags) : request.format;
    const LeftOut why = ArchiveRecord(tags, request.player, format, startTimes, record);
    if (why != LeftOut::Kept) {
      ++part.leftOut[static_cast<size_t>(why)];
    } else {
      part.kept.push_back(record);
      part.fromHostPgn.push_back(format == PgnFormat::Server);
    }
    if (part.read % kGamesBetweenProgress == 0) {
      part.bytesRead = walker.BytesRead();
      if (progress) progress();
    }
  }
  part.error = walker.Error();
}

// Reads the archive's games into added, counting them into result. False with result.error.
bool ReadArchive(const ArchiveImportRequest& request, const std::vector<GameRecord>& log,
                 std::vector<GameRecord>& added, ArchiveImportResult& result) {
  int fd = -1;
  off_t size = 0;
  if (std::error_code error = OpenRegularFile(AT_FDCWD, request.pgnPath, fd, size)) {
    result.error = "cannot read the PGN " + request.pgnPath + ": " + DescribeReadError(error);
    return false;
  }
  const std::vector<ByteSource> parts = PgnParts(ByteSource(fd), static_cast<size_t>(size));
  std::vector<ArchivePart> read(parts.size());
  // The first part's list will hold all new games.
  read[0].kept.reserve(RoomForGames(static_cast<size_t>(size)));
  // Reported from this thread only, for the bytes every part has read.
  const auto progress = [&] {
    size_t bytes = 0;
    for (const ArchivePart& part : read) bytes += part.bytesRead;
    request.progress(static_cast<off_t>(bytes), size);
  };
  SideBySide(parts.size(), [&](size_t index) {
    if (index > 0) read[index].kept.reserve(RoomForGames(static_cast<size_t>(size) / parts.size()));
    ReadArchivePart(parts[index], request, read[index],
                    index == 0 && request.progress ? progress : std::function<void()>());
  });
  close(fd);
  for (const ArchivePart& part : read) {
    if (part.error != 0) {
      result.error = "cannot read the PGN " + request.pgnPath + ": " +
                     DescribeReadError(ErrnoError(part.error));
      return false;
    }
    result.read += part.read;
    for (size_t why = 0; why < part.leftOut.size(); ++why) result.leftOut[why] += part.leftOut[why];
  }
  // The log's duplicate test, game by game in file order. The first part's list keeps its new
  // games in place and takes those of the others behind them.
  LogDuplicates known;
  for (size_t i = 1; i < log.size(); ++i) known.Add(log[i]);
  added = std::move(read[0].kept);
  size_t kept = 0;
  for (size_t i = 0; i < added.size(); ++i) {
    if (known.Take(added[i], read[0].fromHostPgn[i])) {
      ++result.present;
    } else {
      added[kept++] = added[i];
    }
  }
  added.resize(kept);
  for (size_t p = 1; p < read.size(); ++p) {
    for (size_t i = 0; i < read[p].kept.size(); ++i) {
      if (known.Take(read[p].kept[i], read[p].fromHostPgn[i])) {
        ++result.present;
      } else {
        added.push_back(read[p].kept[i]);
      }
    }
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
  // The folder is checked once and held open: a swap of its name while the archive is read
  // cannot send the new log anywhere else.
  Folder folder;
  const FolderCheck check = OpenPrivateFolder(request.directory, "tessik", folder);
  if (check.error) {
    result.error = "cannot use the data folder " + DataDirectoryOf(request.directory) + ": " +
                   check.error.message();
    return result;
  }
  std::vector<GameRecord> log;
  LogMark mark;
  const std::error_code error = ReadGameLogFile(folder.fd(), request.user, log, &mark);
  const bool existed = error != std::errc::no_such_file_or_directory;
  if (existed && error) {
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
  // Sessions of the user may record games meanwhile: the rewrite carries them over.
  const std::string name = GameLogName(request.user);
  if (std::error_code failed =
          RewriteGameLog(folder.fd(), request.user, mark, name + ".new", name + ".bak",
                         existed ? Backup::Replace : Backup::None, MergedLogPieces(log, added))) {
    result.error = "cannot write the game log " + result.logPath + ": " +
                   DescribeFileCause(FileCauseOf(failed));
  }
  return result;
}

}  // namespace tessik
