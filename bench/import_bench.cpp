// The import of a generated PGN file of about 205 MB (server-style games with full move text),
// beside `wc -l` on the same file, beside pgn-extract selecting the same player's games,
// beside tessik-stats's import of it into a database, and beside the sqlite3 shell loading the
// same rows from a CSV.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "database/database_import.h"
#include "figure_report.h"
#include "generated_log.h"
#include "import/pgn_import.h"
#include "platform/private_directory.h"

namespace {

constexpr int kGames = 270000;
constexpr const char* kPgnExtract = "/usr/games/pgn-extract";
constexpr const char* kSqlite = "/usr/bin/sqlite3";

struct Template {
  const char* moves;
  const char* result;  // empty: any result
};

// Legal games: a miniature, a short brilliancy and three opening lines played out.
constexpr Template kTemplates[] = {
    {"f3 e5 g4 Qh4#", "0-1"},
    {"e4 e5 Nf3 d6 d4 Bg4 dxe5 Bxf3 Qxf3 dxe5 Bc4 Nf6 Qb3 Qe7 Nc3 c6 Bg5 b5 Nxb5 cxb5 Bxb5+ "
     "Nbd7 O-O-O Rd8 Rxd7 Rxd7 Rd1 Qe6 Bxd7+ Nxd7 Qb8+ Nxb8 Rd8#",
     "1-0"},
    {"e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7 Re1 b5 Bb3 d6 c3 O-O h3 Nb8 d4 Nbd7 Nbd2 Bb7 Bc2 Re8 "
     "Nf1 Bf8 Ng3 g6",
     ""},
    {"c4 e6 Nf3 d5 d4 Nf6 Nc3 Be7 Bg5 O-O e3 h6 Bh4 b6 cxd5 Nxd5 Bxe7 Qxe7 Nxd5 exd5 Rc1 Be6 Qa4 "
     "c5 Qa3 Rc8 Bb5 a6",
     ""},
    {"e4 c5 Nf3 d6 d4 cxd4 Nxd4 Nf6 Nc3 a6 Be3 e5 Nb3 Be6 f3 Be7 Qd2 O-O O-O-O Nbd7 g4 b5 g5 b4 "
     "Ne2 Ne8 f4 a5",
     ""},
};

// Move text as the server writes it: numbered moves, each with its clock.
std::string MoveText(const char* moves, std::mt19937& random) {
  std::string text;
  int halfMove = 0;
  int clock = 180;
  const char* cursor = moves;
  while (*cursor != '\0') {
    const char* end = cursor;
    while (*end != '\0' && *end != ' ') ++end;
    if (halfMove % 2 == 0) text += std::to_string(halfMove / 2 + 1) + ". ";
    clock = std::max(1, clock - static_cast<int>(random() % 6));
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " {[%%clk 0:%02d:%02d]} ", clock / 60, clock % 60);
    text.append(cursor, end) += stamp;
    ++halfMove;
    cursor = *end == ' ' ? end + 1 : end;
  }
  return text;
}

struct GeneratedPgn {
  GeneratedPgn() {
    directory = std::filesystem::temp_directory_path() /
                ("tessik-import-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory / "tessik");
    path = directory / "ann.pgn";
    std::ofstream out(path, std::ios::binary);
    std::mt19937 random(7);
    const char* results[] = {"1-0", "0-1", "1/2-1/2"};
    for (int i = 0; i < kGames; ++i) {
      const Template& game = kTemplates[random() % std::size(kTemplates)];
      std::string opponent = "Rival" + std::to_string(random() % 150);
      bool annWhite = random() % 2 == 0;
      std::string result = *game.result != '\0' ? game.result : results[random() % 3];
      int day = i / 150;
      char date[16];
      std::snprintf(date, sizeof date, "%04d.%02d.%02d", 2015 + day / 365, 1 + day % 365 / 31,
                    1 + day % 28);
      out << "[Event \"rated blitz match\"]\n[Site \"Kesh\"]\n[Date \"" << date << "\"]\n"
          << "[Round \"-\"]\n[White \"" << (annWhite ? "ann" : opponent) << "\"]\n[Black \""
          << (annWhite ? opponent : "ann") << "\"]\n[Result \"" << result << "\"]\n"
          << "[WhiteElo \"" << 1400 + random() % 400 << "\"]\n[BlackElo \"" << 1400 + random() % 400
          << "\"]\n[TimeControl \"180+0\"]\n[Time \"" << 10 + i % 12 << ":" << 10 + i % 50
          << ":00\"]\n[ECO \"C00\"]\n\n"
          << MoveText(game.moves, random) << result << "\n\n";
    }
  }
  ~GeneratedPgn() { std::filesystem::remove_all(directory); }
  std::filesystem::path directory;
  std::filesystem::path path;
};

const GeneratedPgn& Pgn() {
  static GeneratedPgn pgn;
  return pgn;
}

void BM_WcLines(benchmark::State& state) {
  RunCommand(state, "wc -l '" + Pgn().path.string() + "' >/dev/null");
}
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The plug-in's import, as a session runs it once: in a process of its own, in new memory.
bool ImportOnce() {
  const std::string working = Pgn().directory.string() + "/";
  tessik::Folder folder;
  if (tessik::OpenFolder(working + "tessik", folder)) return false;
  unlinkat(folder.fd(), "ann.glg", 0);  // a first import, each time
  std::vector<tessik::GameRecord> games;
  const tessik::ImportOutcome outcome = tessik::ImportPgn(games, folder.fd(), {}, "ann", working,
                                                          {1600, 1600, 1600, 1600, 1600, 1600});
  return !outcome.pgnError && !outcome.writeError && games.size() > 1;
}

void BM_ImportPgn(benchmark::State& state) { RunInChildProcess(state, ImportOnce); }
BENCHMARK(BM_ImportPgn)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same import again and again in this process: its memory, used before, costs no new pages.
void BM_ImportPgnIntoMemoryUsedBefore(benchmark::State& state) {
  for (auto _ : state) {
    if (!ImportOnce()) state.SkipWithError("the import failed");
  }
}
BENCHMARK(BM_ImportPgnIntoMemoryUsedBefore)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// tessik-stats's import of the same file into a new database each time, in a process of its own
// as the plug-in's import is measured.
void BM_StatsImport(benchmark::State& state) {
  RunInChildProcess(state, [] {
    const std::string file = Pgn().directory.string() + "/ann.sqlite";
    std::filesystem::remove(file);
    tessik::RecordDatabase database(tessik::DatabasePlaceOf(file, "ann"), true);
    return tessik::ImportIntoDatabase(database, {Pgn().path.string(), "ann", {}, {}}).added > 0;
  });
}
BENCHMARK(BM_StatsImport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The floor for tessik-stats's import: the sqlite3 shell loading the same rows into a new
// database from a CSV of them, in one transaction, into a table of the same columns and indexes.
// The shell reads text only: the record goes as its 80 hexadecimal digits, and the opponent, which
// the database computes from the colours, as a column of its own (the shell cannot leave out a
// computed column).
struct ShellLoad {
  ShellLoad() {
    const std::string work = Pgn().directory.string();
    const std::string imported = work + "/rows.sqlite";
    {
      tessik::RecordDatabase database(tessik::DatabasePlaceOf(imported, "ann"), true);
      tessik::ImportIntoDatabase(database, {Pgn().path.string(), "ann", {}, {}});
    }
    const std::string columns =
        "id, server, game_id, batch, start, white, black, user_white, opponent, result, "
        "termination, white_rating, black_rating, white_rating_change, black_rating_change, "
        "rated, variant, base_seconds, increment_seconds, days_per_move, time_class, eco, "
        "opening, link, white_title, black_title, rating_type, record";
    const std::string select =
        "SELECT " + columns.substr(0, columns.rfind("record")) + "hex(record) FROM games";
    std::string schema = Output(std::string(kSqlite) + " '" + imported + "' '.schema games'");
    Replace(schema,
            " GENERATED ALWAYS AS (CASE user_white WHEN 1 THEN black ELSE white END) VIRTUAL", "");
    Replace(schema, "length(record) = 40", "length(record) = 80");
    std::ofstream(work + "/load.sql")
        << schema << "BEGIN;\n.import --csv '" << work << "/rows.csv' games\nCOMMIT;\n";
    if (std::system((std::string(kSqlite) + " -csv '" + imported + "' '" + select + "' >'" + work +
                     "/rows.csv'")
                        .c_str()) != 0) {
      std::abort();
    }
    path = work + "/shell.sqlite";
  }
  static std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    for (char buffer[4096];
         pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr;) {
      text += buffer;
    }
    if (pipe == nullptr || pclose(pipe) != 0) std::abort();
    return text;
  }
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at == std::string::npos) std::abort();  // the schema is not the one this floor copies
    text.replace(at, from.size(), to);
  }
  std::string path;
};

void BM_ShellLoadFromCsv(benchmark::State& state) {
  static const ShellLoad load;
  RunCommand(state, "rm -f '" + load.path + "' && " + kSqlite + " -bail '" + load.path + "' <'" +
                        Pgn().directory.string() + "/load.sql'");
}
BENCHMARK(BM_ShellLoadFromCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_PgnExtract(benchmark::State& state) {
  if (access(kPgnExtract, X_OK) != 0) {
    state.SkipWithError("pgn-extract is not installed (Debian package pgn-extract)");
    return;
  }
  RunCommand(state, std::string(kPgnExtract) + " -s --quiet -Tpann -o/dev/null '" +
                        Pgn().path.string() + "' 2>/dev/null");
}
// Six seconds a run: once is enough beside a ratio of some thirty.
BENCHMARK(BM_PgnExtract)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(1)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  std::printf("PGN file: %.0f MB\n", std::filesystem::file_size(Pgn().path) / 1e6);
  return RunBenchmarksWithFigures(
      argc, argv,
      {{"import in a process of its own / wc -l", "BM_ImportPgn/iterations:3/real_time",
        "BM_WcLines/iterations:3/real_time", AtMost(2.5)},
       {"import into memory used before / wc -l",
        "BM_ImportPgnIntoMemoryUsedBefore/iterations:3/real_time",
        "BM_WcLines/iterations:3/real_time", std::nullopt},
       {"pgn-extract / import", "BM_PgnExtract/iterations:1/repeats:1/real_time",
        "BM_ImportPgn/iterations:3/real_time", AtLeast(10)},
       {"tessik-stats import into a new database / import, each in a process of its own",
        "BM_StatsImport/iterations:3/real_time", "BM_ImportPgn/iterations:3/real_time",
        std::nullopt},
       {"tessik-stats import / the sqlite3 shell loading the same rows from a CSV",
        "BM_StatsImport/iterations:3/real_time", "BM_ShellLoadFromCsv/iterations:3/real_time",
        AtMost(2)}});
}
