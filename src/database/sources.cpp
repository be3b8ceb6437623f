#include "database/sources.h"

#include <SQLiteCpp/Statement.h>

namespace tessik {

int64_t SourceOf(SQLite::Database& db, std::string_view server, std::string_view account) {
  SQLite::Statement insert(db, "INSERT OR IGNORE INTO sources (server, account) VALUES (?, ?)");
  insert.bind(1, std::string(server));
  insert.bind(2, std::string(account));
  insert.exec();
  SQLite::Statement select(db, "SELECT id FROM sources WHERE server = ? AND account = ?");
  select.bind(1, std::string(server));
  select.bind(2, std::string(account));
  select.executeStep();
  return select.getColumn(0).getInt64();
}

std::vector<Source> Sources(SQLite::Database& db) {
  std::vector<Source> sources;
  SQLite::Statement select(db, "SELECT id, server, account FROM sources ORDER BY id");
  while (select.executeStep()) {
    sources.push_back({select.getColumn(0).getInt64(), select.getColumn(1).getString(),
                       select.getColumn(2).getString()});
  }
  return sources;
}

std::optional<int64_t> NewestGameStart(SQLite::Database& db, std::string_view server,
                                       std::string_view account) {
  SQLite::Statement select(db,
                           "SELECT max(start) FROM games WHERE server = ? AND (CASE user_white "
                           "WHEN 1 THEN white ELSE black END) = ? COLLATE NOCASE");
  select.bind(1, std::string(server));
  select.bind(2, std::string(account));
  select.executeStep();
  const SQLite::Column newest = select.getColumn(0);
  return newest.isNull() ? std::nullopt : std::optional<int64_t>(newest.getInt64());
}

std::vector<FetchedMonth> FetchedMonths(SQLite::Database& db, int64_t source) {
  std::vector<FetchedMonth> months;
  SQLite::Statement select(db,
                           "SELECT month, ifnull(etag, ''), ifnull(last_modified, '') FROM months "
                           "WHERE source = ? ORDER BY month");
  select.bind(1, source);
  while (select.executeStep()) {
    months.push_back({select.getColumn(0).getString(), select.getColumn(1).getString(),
                      select.getColumn(2).getString()});
  }
  return months;
}

void SaveFetchedMonth(SQLite::Database& db, int64_t source, const FetchedMonth& month) {
  SQLite::Statement upsert(db,
                           "INSERT OR REPLACE INTO months (source, month, etag, last_modified) "
                           "VALUES (?, ?, nullif(?, ''), nullif(?, ''))");
  upsert.bind(1, source);
  upsert.bind(2, month.month);
  upsert.bind(3, month.etag);
  upsert.bind(4, month.lastModified);
  upsert.exec();
}

std::vector<Batch> Batches(SQLite::Database& db) {
  std::vector<Batch> batches;
  SQLite::Statement select(
      db,
      "SELECT b.id, b.kind, ifnull(b.file, ''), ifnull(b.source, 0), b.started, "
      "(SELECT count(*) FROM games WHERE batch = b.id) FROM batches b "
      "ORDER BY b.id");
  while (select.executeStep()) {
    batches.push_back({select.getColumn(0).getInt64(), select.getColumn(1).getString(),
                       select.getColumn(2).getString(), select.getColumn(3).getInt64(),
                       select.getColumn(4).getInt64(), select.getColumn(5).getInt()});
  }
  return batches;
}

int GamesOfSource(const std::vector<Batch>& batches, int64_t source) {
  int games = 0;
  for (const Batch& batch : batches) games += batch.source == source ? batch.games : 0;
  return games;
}

int ForgetSource(SQLite::Database& db, int64_t source) {
  // The batches, their games and the months go with it (ON DELETE CASCADE).
  SQLite::Statement games(
      db, "DELETE FROM games WHERE batch IN (SELECT id FROM batches WHERE source = ?)");
  games.bind(1, source);
  const int removed = games.exec();
  SQLite::Statement remove(db, "DELETE FROM sources WHERE id = ?");
  remove.bind(1, source);
  remove.exec();
  return removed;
}

int ForgetImport(SQLite::Database& db, int64_t batch) {
  SQLite::Statement games(db, "DELETE FROM games WHERE batch = ?");
  games.bind(1, batch);
  const int removed = games.exec();
  SQLite::Statement remove(db, "DELETE FROM batches WHERE id = ? AND kind = 'import'");
  remove.bind(1, batch);
  remove.exec();
  return removed;
}

}  // namespace tessik
