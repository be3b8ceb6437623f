// Where the database's games came from: the accounts fetched and what a fetch remembers of each,
// and the runs (imports and fetches) that brought games; forgetting either.
#pragma once

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessik {

struct Source {
  int64_t id = 0;
  std::string server, account;
};

// The source of account on server; made when missing.
int64_t SourceOf(SQLite::Database& db, std::string_view server, std::string_view account);
// Every source, in the order made.
std::vector<Source> Sources(SQLite::Database& db);

// The start (seconds UTC) of the newest game of account (its letter case aside) on server that
// the database holds, whichever run brought it; nothing without one.
std::optional<int64_t> NewestGameStart(SQLite::Database& db, std::string_view server,
                                       std::string_view account);

// A month of a chess.com archive fetched, with the validators its answer gave (empty: none).
struct FetchedMonth {
  std::string month;  // "2025/03"
  std::string etag, lastModified;
};
std::vector<FetchedMonth> FetchedMonths(SQLite::Database& db, int64_t source);
void SaveFetchedMonth(SQLite::Database& db, int64_t source, const FetchedMonth& month);

// A run that brought games: an import of a file, or a fetch of a source.
struct Batch {
  int64_t id = 0;
  std::string kind;  // "import" or "fetch"
  std::string file;  // an import's
  int64_t source = 0;
  int64_t started = 0;  // seconds UTC
  int games = 0;        // that it brought and the database still holds
};
std::vector<Batch> Batches(SQLite::Database& db);
// The games the fetches of source brought, of batches as Batches gives them.
int GamesOfSource(const std::vector<Batch>& batches, int64_t source);

// Removes the source, what a fetch remembers of it and every game its fetches brought; or one
// import and its games. Returns the games removed. The caller holds the transaction.
int ForgetSource(SQLite::Database& db, int64_t source);
int ForgetImport(SQLite::Database& db, int64_t batch);

}  // namespace tessik
