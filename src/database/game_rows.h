// The games of the database: a run's games added, and the games read back for the statistics.
#pragma once

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stats/game.h"
#include "stats/game_filter.h"

namespace tessik {

// The kinds of run that bring games.
inline constexpr std::string_view kImportBatch = "import";
inline constexpr std::string_view kFetchBatch = "fetch";

// Starts a run: an import of file, or a fetch of source (a row of sources). Returns its id.
int64_t StartBatch(SQLite::Database& db, std::string_view kind, std::optional<int64_t> source,
                   const std::string& file);

// Adds the games the database does not hold yet (the same server and game id) to batch; the
// caller holds the transaction. Returns how many were new.
int AddGames(SQLite::Database& db, int64_t batch, std::span<const Game> games);

// How many games a read of the whole table shares between two connections from, each on a core
// of its own: fewer are read in less time than a connection takes to open.
inline constexpr int64_t kGamesForTwoReads = 50000;

// The games filter lets through (the conditions are the query's), oldest first; games of an
// unknown start first. With opponent, only the games against that whole name, letter case aside.
// Their details are what the figures read, without the identity that only the import writes.
std::vector<Game> LoadGames(SQLite::Database& db, const GameFilter& filter,
                            const std::optional<std::string>& opponent = std::nullopt);

// What a count of results per opponent needs of each game filter lets through, in no order:
// its server, the opponent's whole name and its record.
using GameResultVisitor = std::function<void(Server, std::string_view, const GameRecord&)>;
void VisitGameResults(SQLite::Database& db, const GameFilter& filter,
                      const GameResultVisitor& visit);

}  // namespace tessik
