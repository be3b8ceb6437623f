// The database's tables, and the steps that bring a database of any earlier version to them.
#pragma once

#include <SQLiteCpp/Database.h>

namespace tessik {

// The schema version this program writes (PRAGMA user_version).
int SchemaVersion();

// Brings db to SchemaVersion(), each step in one transaction: a database made by an earlier
// version keeps every row. Throws DatabaseError for a database of a later version, which this
// program does not know how to read, and SQLite::Exception when a step fails (nothing of that
// step is kept).
void MigrateSchema(SQLite::Database& db);

}  // namespace tessik
