// tessik-stats with its database, whole process from start to exit: a fetch of 100,000 games
// from a web server on 127.0.0.1 beside an import of the same PGN from a file; score and rank
// most on a database of 1,000,000 games against 50,000 opponents, each beside the sqlite3
// shell running, on the same file, the query that returns what the command needs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "figure_report.h"
#include "generated_database.h"
#include "generated_log.h"
#include "support/replay_server.h"

namespace {

constexpr int kFetchedGames = 100000;
constexpr int kDatabaseGames = 1000000;
constexpr int kOpponents = 50000;
constexpr const char* kSqlite = "/usr/bin/sqlite3";

// The folder the benchmarks work in; removed at the end.
struct WorkFolder {
  WorkFolder()
      : path(std::filesystem::temp_directory_path() /
             ("tessik-database-bench-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path);
  }
  ~WorkFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

const WorkFolder& Work() {
  static WorkFolder folder;
  return folder;
}

// ann's games as lichess streams them: tags as its export writes them, and a short game.
std::string LichessStream() {
  std::mt19937 random(11);
  const char* results[] = {"1-0", "0-1", "1/2-1/2"};
  std::string pgn;
  for (int i = 0; i < kFetchedGames; ++i) {
    const std::string opponent = "Rival_" + std::to_string(random() % 3000);
    const bool annWhite = random() % 2 == 0;
    const int64_t start = 1500000000 + int64_t{i} * 600;
    char day[16], time[16];
    const time_t seconds = static_cast<time_t>(start);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    std::strftime(day, sizeof day, "%Y.%m.%d", &utc);
    std::strftime(time, sizeof time, "%H:%M:%S", &utc);
    const std::string result = results[random() % 3];
    pgn += "[Event \"Rated Blitz game\"]\n[Site \"https://lichess.org/b" + std::to_string(i) +
           "\"]\n[Date \"" + day + "\"]\n[White \"" + (annWhite ? "ann" : opponent) +
           "\"]\n[Black \"" + (annWhite ? opponent : "ann") + "\"]\n[Result \"" + result +
           "\"]\n[UTCDate \"" + day + "\"]\n[UTCTime \"" + time + "\"]\n[WhiteElo \"" +
           std::to_string(1500 + random() % 400) + "\"]\n[BlackElo \"" +
           std::to_string(1500 + random() % 400) +
           "\"]\n[WhiteRatingDiff \"+6\"]\n[BlackRatingDiff \"-6\"]\n[Variant \"Standard\"]\n"
           "[TimeControl \"180+2\"]\n[ECO \"C50\"]\n[Opening \"Italian Game\"]\n"
           "[Termination \"Normal\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. c3 Nf6 " +
           result + "\n\n\n";
  }
  return pgn;
}

// The server playing lichess, and the same stream as a file.
struct LichessAccount {
  LichessAccount() : stream(LichessStream()) {
    server.Script("/api/games/user/ann", {{200, stream}});
    std::ofstream(Work().path / "ann.pgn", std::ios::binary) << stream;
  }
  std::string stream;
  tessik::ReplayServer server;
};

const LichessAccount& Lichess() {
  static LichessAccount account;
  return account;
}

// tessik-stats with arguments, its database in the work folder, after removing fresh (a file
// or folder, when given).
std::string StatsCommand(const std::string& arguments, const std::string& fresh = "") {
  const std::string work = Work().path.string();
  return (fresh.empty() ? "" : "rm -rf '" + work + "/" + fresh + "' && ") + "cd '" + work +
         "' && XDG_DATA_HOME='" + work + "/data' TESSIK_LICHESS_URL=" + Lichess().server.Url() +
         " " TESSIK_STATS " --dir '" + work + "' " + arguments + " >/dev/null";
}

void BM_FetchFromLocalServer(benchmark::State& state) {
  RunCommand(state, StatsCommand("--user ann fetch lichess ann", "data"));
}
BENCHMARK(BM_FetchFromLocalServer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ImportSameFile(benchmark::State& state) {
  RunCommand(state, StatsCommand("--user ann import ann.pgn --player ann", "data"));
}
BENCHMARK(BM_ImportSameFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A database of a million games against numbered opponents.
struct BigDatabase {
  BigDatabase() : path((Work().path / "big.sqlite").string()) {
    WriteGeneratedDatabase(path, kDatabaseGames, kOpponents);
  }
  std::string path;
};

const BigDatabase& Big() {
  static BigDatabase database;
  return database;
}

std::string ShellCommand(const std::string& query) {
  return std::string(kSqlite) + " '" + Big().path + "' \"" + query + "\" >/dev/null";
}

// What score needs: the rows of one opponent with the columns it reads, oldest first (the name
// letter case aside, as score finds it, which is what lets the index on the opponent answer).
constexpr const char* kScoreQuery =
    "SELECT server, game_id, batch, start, white, black, user_white, termination, "
    "white_rating_change, black_rating_change, variant, base_seconds, increment_seconds, "
    "days_per_move, time_class, eco, opening, link, white_title, black_title, record "
    "FROM games WHERE opponent = 'Player4242' COLLATE NOCASE ORDER BY start, id";
// What rank most needs: each opponent's games counted by colour and result.
constexpr const char* kRankQuery =
    "SELECT server, opponent, user_white, result, count(*) FROM games "
    "GROUP BY server, opponent, user_white, result";

void BM_Score(benchmark::State& state) {
  RunCommand(state, StatsCommand("--user ann --db '" + Big().path + "' score Player4242"));
}
BENCHMARK(BM_Score)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShellScoreQuery(benchmark::State& state) { RunCommand(state, ShellCommand(kScoreQuery)); }
BENCHMARK(BM_ShellScoreQuery)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RankMost(benchmark::State& state) {
  RunCommand(state, StatsCommand("--user ann --db '" + Big().path + "' rank most"));
}
BENCHMARK(BM_RankMost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShellRankQuery(benchmark::State& state) { RunCommand(state, ShellCommand(kRankQuery)); }
BENCHMARK(BM_ShellRankQuery)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (access(kSqlite, X_OK) != 0) {
    std::fprintf(stderr, "the sqlite3 shell is not installed (Debian package sqlite3)\n");
    return 1;
  }
  std::printf("lichess stream: %.0f MB; database: %.0f MB\n", Lichess().stream.size() / 1e6,
              std::filesystem::file_size(Big().path) / 1e6);
  return RunBenchmarksWithFigures(
      argc, argv,
      {{"fetch from a local server / import of the same PGN file",
        "BM_FetchFromLocalServer/iterations:3/real_time",
        "BM_ImportSameFile/iterations:3/real_time", AtMost(1.3)},
       {"score / the sqlite3 shell's query", "BM_Score/real_time", "BM_ShellScoreQuery/real_time",
        AtMost(2)},
       {"rank most / the sqlite3 shell's query", "BM_RankMost/real_time",
        "BM_ShellRankQuery/real_time", AtMost(2)}});
}
