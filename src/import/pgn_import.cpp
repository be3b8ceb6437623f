#include "import/pgn_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "import/line_reader.h"
#include "import/pgn_game.h"
#include "import/pgn_text.h"
#include "import/same_game.h"
#include "store/safe_save.h"

namespace tessik {

namespace {

constexpr size_t kHostFileBytes = 500;
constexpr size_t kPgnBytesPerGame = 700;
constexpr size_t kMostPresizedGames = size_t{1} << 22;  // beyond that the table grows as it goes

std::string Describe(const GameRecord& record) {
  return std::string(OpponentName(record)) + " " + std::to_string(record.opponentRating);
}

}  // namespace

std::string LocatePgnFile(const std::string& workingDirectory, const std::string& userName) {
  const std::string fallback = workingDirectory + userName + ".pgn";
  std::ifstream file(workingDirectory + userName + ".vx2", std::ios::binary);
  char bytes[kHostFileBytes];
  file.read(bytes, sizeof bytes);
  std::string_view head(bytes, static_cast<size_t>(file.gcount()));
  size_t dot = head.rfind(".pgn");
  if (dot == std::string_view::npos || dot + 3 < 7) return fallback;
  // The path is the run of printable characters that ends with this ".pgn".
  size_t start = dot;
  while (start > 0 && std::isprint(static_cast<unsigned char>(head[start - 1]))) --start;
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
  char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(hostPath[0])));
  if (letter == 'z') return "/" + rest;
  return home + "/.wine/dosdevices/" + letter + ":/" + rest;
}

int ParsePgn(std::vector<GameRecord>& games, const std::string& pgnPath,
             const std::string& userName, const std::string& logPath) {
  int fd = open(pgnPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat info {};
  bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  size_t length = regular ? static_cast<size_t>(info.st_size) : 0;
  FILE* log = std::fopen(logPath.c_str(), "w");

  games.clear();
  games.reserve(std::clamp<size_t>(length / kPgnBytesPerGame, 1, kMostPresizedGames));
  games.push_back(MarkerRecord());
  LineReader reader(fd);
  StartTimes startTimes;
  std::string_view line;  // the current line: empty before the first game
  int gamesRead = 0;
  bool more = log != nullptr;
  PgnTags tags;
  do {
    ++gamesRead;
    tags.Clear();
    for (;;) {
      std::string_view name, value;
      if (ParseTagLine(line, name, value)) tags.Take(name, value);
      more = more && reader.Next(line);
      if (!more || line.empty()) break;
    }
    while (more && (more = reader.Next(line))) {
      if (!line.empty() && line.front() == '[') break;
    }
    GameRecord record;
    if (EvaluateGame(tags, userName, startTimes, record)) games.push_back(record);
  } while (more);
  close(fd);
  if (log == nullptr) return 1;  // no diagnostic log: the parse ends, as on a read error

  std::fprintf(log, "Importing  games from the PGN:\n\n");
  std::fprintf(log, "Read %d Games from the PGN, put %zu in the gamelog\n", gamesRead,
               games.size());
  RemoveNeighbourDuplicates(games, 1, [&](size_t kept, size_t removed) {
    std::fprintf(log, "Doublette at %zu / %zu %s removed\n", kept, removed,
                 Describe(games[kept]).c_str());
  });
  std::fprintf(log, "Header: %s \n", Describe(games.front()).c_str());
  std::fprintf(log, "First game: %s \n",
               games.size() > 1 ? Describe(games[1]).c_str() : "(none) 0");
  std::fprintf(log, "last Game: %s \n", Describe(games.back()).c_str());
  std::fclose(log);
  games.shrink_to_fit();
  return 1;
}

bool WriteGameLog(const std::vector<GameRecord>& games, const std::string& temporary,
                  const std::string& path, std::string& problem) {
  FileCause cause = WriteWholeFile(temporary, EncodeGameLog(games));
  if (cause == kFileNone && std::rename(temporary.c_str(), path.c_str()) != 0) {
    cause = FileCauseFromErrno(errno);
  }
  if (cause == kFileNone) return true;
  std::remove(temporary.c_str());
  problem = DescribeFileCause(cause);
  return false;
}

ImportOutcome ImportPgn(std::vector<GameRecord>& games, const std::string& dataDirectory,
                        const std::string& userName, const std::string& workingDirectory,
                        const CurrentRatings& ratings, const std::vector<GameRecord>& playedSince) {
  const char* home = std::getenv("HOME");
  std::string pgn = LocalPath(LocatePgnFile(workingDirectory, userName), home ? home : "");
  ImportOutcome outcome;
  outcome.read = ParsePgn(games, pgn, userName, workingDirectory + "pgn_read.txt");
  if (outcome.read == 0) games.assign(1, MarkerRecord());
  games.insert(games.end(), playedSince.begin(), playedSince.end());
  ReconstructRatingChains(games, ratings);
  const std::string path = dataDirectory + userName + ".glg";
  outcome.written = WriteGameLog(games, path + ".12", path, outcome.problem);
  return outcome;
}

}  // namespace tessik
