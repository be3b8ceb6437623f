#include "import/pgn_import.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "import/pgn_game.h"
#include "import/pgn_parts.h"
#include "import/pgn_walker.h"
#include "import/same_game.h"
#include "platform/file_error.h"
#include "platform/huge_pages.h"
#include "platform/read_file.h"
#include "platform/side_by_side.h"
#include "store/safe_save.h"

namespace tessik {

namespace {

constexpr size_t kHostFileBytes = 500;
constexpr size_t kPgnBytesPerGame = 700;
constexpr size_t kMostPresizedGames = size_t{1} << 22;  // beyond that the table grows as it goes

// The diagnostic report, made anew; a link in its place is not followed.
FILE* OpenReport(const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  FILE* file = fd < 0 ? nullptr : fdopen(fd, "w");
  if (fd >= 0 && file == nullptr) close(fd);
  return file;
}

// One line of the report, when there is one.
__attribute__((format(printf, 2, 3))) void Report(FILE* log, const char* format, ...) {
  if (log == nullptr) return;
  va_list values;
  va_start(values, format);
  std::vfprintf(log, format, values);
  va_end(values);
}

std::string Describe(const GameRecord& record) {
  return std::string(OpponentName(record)) + " " + std::to_string(record.opponentRating);
}

}  // namespace

namespace {

// A byte of a path as the host writes it: anything but a control character, so that letters
// beyond ASCII (Latin-1 or UTF-8) stay part of it.
bool PathByte(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte != 0x7F;
}

// Appends the games played live since the login, each once: one the PGN holds already is
// left out (each imported game stands for one live game at most).
void AddGamesPlayedSince(std::vector<GameRecord>& imported,
                         const std::vector<GameRecord>& playedSince) {
  const size_t importedCount = imported.size();
  std::vector<bool> matched(importedCount, false);
  for (const GameRecord& live : playedSince) {
    bool known = false;
    for (size_t i = 1; i < importedCount && !known; ++i) {
      known = !matched[i] && SameGamePlayedLive(live, imported[i]);
      if (known) matched[i] = true;
    }
    if (!known) imported.push_back(live);
  }
}

}  // namespace

std::string LocatePgnFile(const std::string& workingDirectory, const std::string& userName) {
  const std::string fallback = workingDirectory + userName + ".pgn";
  int fd = -1;
  off_t size = 0;
  if (OpenRegularFile(AT_FDCWD, workingDirectory + userName + ".vx2", fd, size)) return fallback;
  std::string path = LocatePgnFile(ByteSource(fd), static_cast<size_t>(size), fallback);
  close(fd);
  return path;
}

std::string LocatePgnFile(ByteSource hostFile, size_t bytes, const std::string& fallback) {
  std::string held;
  ReadHead(hostFile, bytes, kHostFileBytes, held);
  std::string_view head(held);
  size_t dot = head.rfind(".pgn");
  if (dot == std::string_view::npos || dot + 3 < 7) return fallback;
  // The path is the run of path bytes that ends with this ".pgn".
  size_t start = dot;
  while (start > 0 && PathByte(head[start - 1])) --start;
  std::string_view run = head.substr(start, dot + 4 - start);
  size_t drive = run.rfind(":\\");
  if (drive != std::string_view::npos && drive > 0 &&
      std::isalpha(static_cast<unsigned char>(run[drive - 1]))) {
    return std::string(run.substr(drive - 1));
  }
  size_t slash = run.find('/');
  if (slash != std::string_view::npos) return std::string(run.substr(slash));
  return fallback;
}

std::string LocalPath(const std::string& hostPath, const std::string& home) {
  bool drivePath = hostPath.size() >= 3 && std::isalpha(static_cast<unsigned char>(hostPath[0])) &&
                   hostPath[1] == ':' && hostPath[2] == '\\';
  if (!drivePath) return hostPath;
  std::string rest = hostPath.substr(3);
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  char letter = FoldCase(hostPath[0]);
  if (letter == 'z') return "/" + rest;
  return home + "/.wine/dosdevices/" + letter + ":/" + rest;
}

PgnReading ParsePgn(std::vector<GameRecord>& games, const std::string& pgnPath,
                    const std::string& userName, const std::string& logPath) {
  int fd = -1;
  off_t size = 0;
  if (std::error_code error = OpenRegularFile(AT_FDCWD, pgnPath, fd, size)) return {error, {}};
  // The diagnostic report is optional: without it the import goes on.
  FILE* log = OpenReport(logPath);
  const std::error_code logError = log == nullptr ? ErrnoError() : std::error_code();
  PgnReading reading = ReadPgn(games, ByteSource(fd), static_cast<size_t>(size), userName, log);
  reading.logError = logError;
  close(fd);
  if (log != nullptr) std::fclose(log);
  return reading;
}

namespace {

// The games read from one part of the PGN.
struct PgnPart {
  std::vector<GameRecord> kept;  // the user's games, in file order
  int gamesRead = 0;
  int error = 0;  // errno of a failed read
};

// Reads part into games; continuation: the part continues the file after a cut.
void ReadPgnPart(ByteSource part, bool continuation, const std::string& userName, PgnPart& games) {
  AdviseHugePages(games.kept);
  PgnWalker walker(part);
  StartTimes startTimes;
  PgnTags tags;
  auto take = [&tags](std::string_view name, std::string_view value) { tags.Take(name, value); };
  for (; walker.Next(take); tags.Clear()) {
    ++games.gamesRead;
    GameRecord record;
    if (EvaluateGame(tags, userName, startTimes, record)) games.kept.push_back(record);
  }
  // A walk gives even an empty file one game, without tags; a continuation without bytes (the
  // file shrank after it was cut) gives none.
  if (continuation && walker.BytesRead() == 0) games.gamesRead = 0;
  if (walker.Failed()) games.error = walker.Error();
}

}  // namespace

PgnReading ReadPgn(std::vector<GameRecord>& games, ByteSource pgn, size_t pgnBytes,
                   const std::string& userName, FILE* log) {
  const std::vector<ByteSource> parts = PgnParts(pgn, pgnBytes);
  std::vector<PgnPart> read(parts.size());
  // The first part's games come first in the log: its list has room for all.
  read[0].kept.reserve(std::clamp<size_t>(pgnBytes / kPgnBytesPerGame, 1, kMostPresizedGames));
  read[0].kept.push_back(MarkerRecord());
  SideBySide(parts.size(), [&](size_t index) {
    if (index > 0) {  // the parts are about even
      read[index].kept.reserve(
          std::min(pgnBytes / parts.size() / kPgnBytesPerGame, kMostPresizedGames));
    }
    ReadPgnPart(parts[index], index > 0, userName, read[index]);
  });
  PgnReading reading;
  int gamesRead = 0;
  std::vector<GameRecord>& kept = read[0].kept;
  for (size_t i = 0; i < read.size(); ++i) {
    gamesRead += read[i].gamesRead;
    if (!reading.error && read[i].error != 0) reading.error = ErrnoError(read[i].error);
    if (i > 0) kept.insert(kept.end(), read[i].kept.begin(), read[i].kept.end());
  }

  Report(log, "Importing  games from the PGN:\n\n");
  Report(log, "Read %d Games from the PGN, put %zu in the gamelog\n", gamesRead, kept.size());
  RemoveNeighbourDuplicates(kept, 1, [&](size_t at, size_t removed) {
    Report(log, "Doublette at %zu / %zu %s removed\n", at, removed, Describe(kept[at]).c_str());
  });
  Report(log, "Header: %s \n", Describe(kept.front()).c_str());
  Report(log, "First game: %s \n", kept.size() > 1 ? Describe(kept[1]).c_str() : "(none) 0");
  Report(log, "last Game: %s \n", Describe(kept.back()).c_str());

  if (!reading.error) {  // a file read only in part gives no games: all or nothing
    // Room left over from the first guess is given back only when it is much: giving it back
    // copies every game.
    if (kept.capacity() > kept.size() + kept.size() / 4) kept.shrink_to_fit();
    games = std::move(kept);
  }
  return reading;
}

ImportOutcome ImportPgn(std::vector<GameRecord>& games, int dataFolder, const LogMark& read,
                        const std::string& userName, const std::string& workingDirectory,
                        const CurrentRatings& ratings, const std::vector<GameRecord>& playedSince) {
  const char* home = std::getenv("HOME");
  ImportOutcome outcome;
  outcome.pgnPath = LocalPath(LocatePgnFile(workingDirectory, userName), home ? home : "");
  std::vector<GameRecord> imported;
  PgnReading reading =
      ParsePgn(imported, outcome.pgnPath, userName, workingDirectory + "pgn_read.txt");
  outcome.pgnError = reading.error;
  outcome.reportError = reading.logError;
  if (!outcome.Complete()) return outcome;  // nothing written: the next login tries again
  if (outcome.NoPgn()) imported.assign(1, MarkerRecord());  // no past games
  AddGamesPlayedSince(imported, playedSince);
  ReconstructRatingChains(imported, ratings);
  games = std::move(imported);
  outcome.writeError = RewriteGameLog(dataFolder, userName, read, GameLogName(userName) + ".12", "",
                                      Backup::None, GameLogPieces(games));
  return outcome;
}

}  // namespace tessik
