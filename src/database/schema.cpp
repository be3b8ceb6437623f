#include "database/schema.h"

#include <SQLiteCpp/Transaction.h>

#include <iterator>
#include <string>

#include "database/database_error.h"

namespace tessik {

namespace {

// Each step, from the version before it to its own (its place + 1). A step once released is
// never changed: a change of the schema is a new step at the end. docs/database.md describes
// the tables.
constexpr const char* kSteps[] = {
    // 1: the games, where they came from, and what a fetch remembers.
    R"sql(
CREATE TABLE sources (
  id INTEGER PRIMARY KEY,
  server TEXT NOT NULL,
  account TEXT NOT NULL,
  UNIQUE (server, account)
);
CREATE TABLE batches (
  id INTEGER PRIMARY KEY,
  kind TEXT NOT NULL CHECK (kind IN ('import', 'fetch')),
  source INTEGER REFERENCES sources (id) ON DELETE CASCADE,
  file TEXT,
  started INTEGER NOT NULL
);
CREATE TABLE months (
  source INTEGER NOT NULL REFERENCES sources (id) ON DELETE CASCADE,
  month TEXT NOT NULL,
  etag TEXT,
  last_modified TEXT,
  PRIMARY KEY (source, month)
);
CREATE TABLE games (
  id INTEGER PRIMARY KEY,
  server TEXT NOT NULL,
  game_id TEXT NOT NULL,
  batch INTEGER NOT NULL REFERENCES batches (id) ON DELETE CASCADE,
  start INTEGER,
  white TEXT NOT NULL,
  black TEXT NOT NULL,
  user_white INTEGER NOT NULL CHECK (user_white IN (0, 1)),
  opponent TEXT GENERATED ALWAYS AS (CASE user_white WHEN 1 THEN black ELSE white END) VIRTUAL,
  result TEXT NOT NULL CHECK (result IN ('1-0', '0-1', '1/2-1/2')),
  termination TEXT,
  white_rating INTEGER,
  black_rating INTEGER,
  white_rating_change INTEGER,
  black_rating_change INTEGER,
  rated INTEGER NOT NULL CHECK (rated IN (0, 1)),
  variant TEXT,
  base_seconds INTEGER,
  increment_seconds INTEGER,
  days_per_move INTEGER,
  time_class TEXT,
  eco TEXT,
  opening TEXT,
  link TEXT,
  white_title TEXT,
  black_title TEXT,
  rating_type INTEGER NOT NULL,
  record BLOB NOT NULL CHECK (length(record) = 40),
  UNIQUE (server, game_id)
);
CREATE INDEX games_by_opponent ON games (opponent, server);
CREATE INDEX games_by_start ON games (start);
CREATE INDEX games_by_batch ON games (batch);
)sql",
    // 2: an opponent is looked up letter case aside, as an online account's name is.
    R"sql(
DROP INDEX games_by_opponent;
CREATE INDEX games_by_opponent ON games (opponent COLLATE NOCASE, server);
)sql",
};

}  // namespace

int SchemaVersion() { return static_cast<int>(std::size(kSteps)); }

void MigrateSchema(SQLite::Database& db) {
  const int version = db.execAndGet("PRAGMA user_version").getInt();
  if (version > SchemaVersion()) {
    throw DatabaseError("its schema is version " + std::to_string(version) +
                        ", of a later Tessik; this one knows versions up to " +
                        std::to_string(SchemaVersion()));
  }
  for (int step = version; step < SchemaVersion(); ++step) {
    SQLite::Transaction transaction(db);
    db.exec(kSteps[step]);
    db.exec("PRAGMA user_version = " + std::to_string(step + 1));
    transaction.commit();
  }
}

}  // namespace tessik
