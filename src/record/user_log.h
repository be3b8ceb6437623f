// The game log a command reads: the user's, found in the plug-in's data folder.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "database/game_rows.h"
#include "database/record_database.h"
#include "platform/private_directory.h"
#include "record/log_place.h"
#include "stats/expectation.h"
#include "stats/game.h"
#include "stats/game_filter.h"
#include "store/game_log_file.h"

namespace tessik {

struct UserLog {
  std::string user;
  std::string path;  // for messages: the log is read through folder
  // The data folder, opened once (a link in its place refused): a swap of its name while the
  // command runs changes nothing it reads. Not open when there is none.
  std::shared_ptr<const Folder> folder;
};

// The log of user in <directory>/tessik/, or without a user the only log there. Throws
// DataError: a handle that cannot name a file, a data folder that cannot be opened, no log there
// (listing the logs when there are several).
UserLog FindUserLog(const std::string& directory, const std::string& user);

// Hands every record of the log behind its marker that choice takes to visit, a batch at a time
// and in order. Throws DataError naming the file: no log, a file that cannot be read, one that
// is not a game log of this version.
void VisitLogRecords(const UserLog& log,
                     const std::function<void(std::span<const GameRecord>)>& visit,
                     const RecordChoice& choice = {});

// Hands every game of the log, one for each record behind its marker that choice takes, to
// visit, a batch at a time and in order. Throws as VisitLogRecords does.
void VisitGames(const UserLog& log, const std::function<void(std::span<const Game>)>& visit,
                const RecordChoice& choice = {});

// The games of the log that choice takes and keep lets through, in order. Throws as VisitGames
// does.
std::vector<Game> SelectGames(const UserLog& log, const std::function<bool(const Game&)>& keep,
                              const RecordChoice& choice = {});

// What every reading command works on: the games of the user's log and database that the
// filters let through. Each command reads the log once, keeping no more of it than it needs.
struct LogView {
  UserLog log;
  GameFilter filter;
  bool json = false;
  bool logPresent = true;                    // false: only the database has the user's games
  std::shared_ptr<RecordDatabase> database;  // none when the user has none
  ExpectationRule expectation = ExpectationRule::Table;  // --elo: the exact Elo expectation
};

// The view of the user's record at place: the log, as FindUserLog finds it (without --user,
// when the folder holds no log, the only database of the default folder is the user's), and
// the database, as --db, TESSIK_DB or the default place give it. Throws DataError when neither
// holds the user's games, or when one cannot be read.
LogView OpenRecord(const LogPlace& place, const GameFilter& filter, bool json);

// The games keep lets through of the log and of the database, each game once (WholeRecord).
// Given an opponent, keep lets through no game against another player (letter case aside, a
// game of the log by its 15 characters), and neither source reads another. Throws as VisitGames.
std::vector<Game> SelectRecord(const LogView& view, const std::function<bool(const Game&)>& keep,
                               const std::optional<std::string>& opponent = std::nullopt);

// The games the view's filter lets through.
std::vector<Game> SelectedGames(const LogView& view);

// What a count over every game is handed: the games of the plug-in's log as their records, a
// batch at a time (a million of them counted without a Game made of each), and each game of the
// database with its server and the opponent's whole name. A log read alone is counted on two
// cores at once instead, each handing logPart(part, records) the games of its part
// (CountPartOf) alone, in order: a count keeps each part on its own.
struct RecordResultVisitor {
  std::function<void(std::span<const GameRecord>)> logGames;
  GameResultVisitor game;
  std::function<void(size_t part, std::span<const GameRecord>)> logPart;
};

// Hands each game the view's filter lets through to visit once, as SelectedGames would give it,
// without keeping the database's games. Throws as VisitGames does.
void VisitRecordResults(const LogView& view, const RecordResultVisitor& visit);

// Which sources the view counted, for a line under a command's text: "the plug-in's log
// (kesh)", and the database with the servers of its games; only those the filter's server lets
// through. Empty when only the log was read.
std::string CountedSources(const LogView& view);

// The handles with a log in the data folder, sorted.
std::vector<std::string> UsersWithALog(const Folder& folder);

// The handles with a log in directory's data folder or a database in the default folder.
std::set<std::string> UsersWithARecord(const std::string& directory);

}  // namespace tessik
