#include "database/game_rows.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <deque>
#include <exception>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>
#include <unordered_map>

#include "platform/huge_pages.h"

namespace tessik {

namespace {

constexpr const char* kInsertGame = R"sql(
INSERT OR IGNORE INTO games (server, game_id, batch, start, white, black, user_white, result,
  termination, white_rating, black_rating, white_rating_change, black_rating_change, rated,
  variant, base_seconds, increment_seconds, days_per_move, time_class, eco, opening, link,
  white_title, black_title, rating_type, record)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)
)sql";

// What the figures read of a game (GameDetails without the identity), of the rating changes the
// user's.
constexpr const char* kSelectGames =
    R"sql(SELECT server, start, opponent, user_white, termination,
  CASE user_white WHEN 1 THEN white_rating_change ELSE black_rating_change END, variant,
  base_seconds, increment_seconds, days_per_move, time_class, eco, opening, link, record
FROM games)sql";
// The index of the starts (and the row ids after them) gives the order: SQLite sorts nothing.
constexpr const char* kInOrder = " ORDER BY start, id";

// Binds text, or NULL for an empty one.
void BindText(SQLite::Statement& statement, int index, const std::string& text) {
  text.empty() ? statement.bind(index) : statement.bind(index, text);
}

void BindOptional(SQLite::Statement& statement, int index, std::optional<int64_t> value) {
  value ? statement.bind(index, *value) : statement.bind(index);
}

std::optional<int64_t> Known(int64_t value, bool known) {
  return known ? std::optional<int64_t>(value) : std::nullopt;
}

const char* ResultFromWhiteText(const GameRecord& record) {
  const int fromWhite = record.userWhite != 0 ? record.result : -record.result;
  return fromWhite == kUserWon ? "1-0" : fromWhite == kDraw ? "1/2-1/2" : "0-1";
}

// A query read through SQLite's own calls: a million rows read are some fifteen million calls,
// and a column object of SQLiteCpp's costs more than SQLite's own work for it.
class Query {
 public:
  Query(SQLite::Database& db, const std::string& sql) : db_(db.getHandle()) {
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr));
    statement_.reset(statement);
  }

  void Bind(const char* name, int64_t value) {
    Check(sqlite3_bind_int64(statement_.get(), Parameter(name), value));
  }
  void Bind(const char* name, std::string_view text) {
    Check(sqlite3_bind_text(statement_.get(), Parameter(name), text.data(),
                            static_cast<int>(text.size()), SQLITE_TRANSIENT));
  }
  // Whether there is a row; throws SQLite::Exception when SQLite fails.
  bool Step() {
    const int result = sqlite3_step(statement_.get());
    if (result == SQLITE_DONE) return false;
    if (result != SQLITE_ROW) throw SQLite::Exception(db_, result);
    return true;
  }

  bool IsNull(int column) const {
    return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
  }
  int64_t Int(int column) const { return sqlite3_column_int64(statement_.get(), column); }
  // The text as SQLite holds it, until the next step: NULL is empty.
  std::string_view Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_.get(), column);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<size_t>(sqlite3_column_bytes(statement_.get(), column))};
  }
  // The record of a row, decoded; nothing when the blob is not one.
  std::optional<GameRecord> Record(int column) const {
    const void* blob = sqlite3_column_blob(statement_.get(), column);
    if (sqlite3_column_bytes(statement_.get(), column) != static_cast<int>(kGameRecordBytes)) {
      return std::nullopt;
    }
    return DecodeGameRecord(static_cast<const unsigned char*>(blob));
  }

 private:
  void Check(int result) const {
    if (result != SQLITE_OK) throw SQLite::Exception(db_, result);
  }
  int Parameter(const char* name) const {
    return sqlite3_bind_parameter_index(statement_.get(), name);
  }

  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement_{nullptr, &sqlite3_finalize};
};

// The server of rows in turn: they come server by server as often as not, and the name is looked
// up when it changes.
class ServerOfRows {
 public:
  Server Of(std::string_view name) {
    if (name != name_) {
      name_ = name;
      server_ = ServerNamed(name_).value_or(Server::File);
    }
    return server_;
  }

 private:
  std::string name_;
  Server server_ = Server::File;
};

// The games' labels as a row gives them, for a look-up among those kept.
struct LabelsOfRow {
  std::string_view termination, variant, timeClass, eco, opening;

  bool operator==(const LabelsOfRow&) const = default;
};

struct HashOfLabels {
  size_t operator()(const LabelsOfRow& labels) const {
    const std::hash<std::string_view> hash;
    size_t h = 0;
    for (const std::string_view text :
         {labels.termination, labels.variant, labels.timeClass, labels.eco, labels.opening}) {
      h = (h ^ hash(text)) * 0x9E3779B97F4A7C15u;
    }
    return h;
  }
};

// What one read of the database makes for its games: their details, and the texts the details
// point to, side by side, the labels once for all the games that repeat them (a million games
// are of a few thousand kinds). Each lies in blocks of memory that never move and are filled soon
// after they are asked for: in huge pages, a million games' details and texts cost a page fault
// each two megabytes, not each four kilobytes.
class ReadGames {
 public:
  static constexpr size_t kBlock = 1 << 15;

  // Room for the details of one more game.
  GameDetails& Next() {
    if (blocks_.empty() || blocks_.back().size() == kBlock) {
      blocks_.emplace_back().reserve(kBlock);
      AdviseHugePages(blocks_.back());
    }
    return blocks_.back().emplace_back();
  }

  // The labels kept for those of a row.
  const GameLabels* Labels(const LabelsOfRow& row) {
    if (last_ != nullptr && row == last_->first) return last_->second;  // as often as not
    auto place = labels_.find(row);
    if (place == labels_.end()) {
      const GameLabels& kept = kept_.emplace_back(
          GameLabels{std::string(row.termination), std::string(row.variant),
                     std::string(row.timeClass), std::string(row.eco), std::string(row.opening)});
      place = labels_
                  .emplace(LabelsOfRow{kept.termination, kept.variant, kept.timeClass, kept.eco,
                                       kept.opening},
                           &kept)
                  .first;
    }
    last_ = &*place;
    return place->second;
  }

  // A copy of text among those kept, side by side: an opponent's name, a link.
  std::string_view Keep(std::string_view text) {
    if (text.empty()) return {};
    if (texts_.empty() || texts_.back().capacity() - texts_.back().size() < text.size()) {
      texts_.emplace_back().reserve(std::max(kTextBlock, text.size()));
      AdviseHugePages(texts_.back());
    }
    std::vector<char>& block = texts_.back();
    // Within its room: the texts kept before stay where they are.
    const char* kept = &*block.insert(block.end(), text.begin(), text.end());
    return {kept, text.size()};
  }

 private:
  static constexpr size_t kTextBlock = 1 << 22;

  std::vector<std::vector<GameDetails>> blocks_;
  std::deque<GameLabels> kept_;
  std::unordered_map<LabelsOfRow, const GameLabels*, HashOfLabels> labels_;  // of kept_
  const std::pair<const LabelsOfRow, const GameLabels*>* last_ = nullptr;
  std::vector<std::vector<char>> texts_;
};

// The game of the row kSelectGames reads, its details d, which read holds.
Game GameOfRow(const Query& row, Server server, GameDetails& d,
               const std::shared_ptr<ReadGames>& read) {
  Game game;
  game.record = row.Record(14).value_or(GameRecord{});
  game.server = server;
  d.start = row.IsNull(1) ? kUnknownStartTime : row.Int(1);
  d.opponent = read->Keep(row.Text(2));
  if (!row.IsNull(5)) d.ratingChange = static_cast<int>(row.Int(5));
  d.clock.known = !row.IsNull(7);
  d.clock.baseSeconds = row.Int(7);
  d.clock.incrementSeconds = row.Int(8);
  d.clock.daysPerMove = static_cast<int>(row.Int(9));
  d.labels = read->Labels({row.Text(4), row.Text(6), row.Text(10), row.Text(11), row.Text(12)});
  d.link = read->Keep(row.Text(13));
  game.details = std::shared_ptr<GameDetails>(read, &d);
  return game;
}

// columns FROM games, with the conditions of filter and opponent, then order.
Query FilteredSelect(SQLite::Database& db, const std::string& columns, const GameFilter& filter,
                     const std::optional<std::string>& opponent, const std::string& order) {
  std::string where;
  const auto add = [&where](const char* condition) {
    where += (where.empty() ? " WHERE " : " AND ") + std::string(condition);
  };
  if (filter.server) add("server = :server");
  if (filter.since) add("start >= :since");
  if (filter.until) add("start < :until");
  if (filter.types != AnyRatingType) add("(rating_type & :types) != 0");
  if (filter.white) add("user_white = :white");
  if (filter.rated) add("rated = :rated");
  if (opponent) add("opponent = :opponent COLLATE NOCASE");
  Query select(db, columns + where + order);
  if (filter.server) select.Bind(":server", ServerName(*filter.server));
  if (filter.since) select.Bind(":since", *filter.since);
  if (filter.until) select.Bind(":until", *filter.until);
  if (filter.types != AnyRatingType) select.Bind(":types", int64_t{filter.types});
  if (filter.white) select.Bind(":white", int64_t{*filter.white ? 1 : 0});
  if (filter.rated) select.Bind(":rated", int64_t{*filter.rated ? 1 : 0});
  if (opponent) select.Bind(":opponent", *opponent);
  return select;
}

// The games of the rows select reads, in its order, after games.
void AddGamesOfRows(Query&& select, std::vector<Game>& games) {
  auto read = std::make_shared<ReadGames>();
  ServerOfRows servers;
  while (select.Step()) {
    if (games.size() == games.capacity()) {
      games.reserve(std::max<size_t>(2 * games.capacity(), ReadGames::kBlock));
      AdviseHugePages(games);
    }
    games.push_back(GameOfRow(select, servers.Of(select.Text(0)), read->Next(), read));
  }
}

// A read transaction on a connection, ended however the read ends.
class ReadTransaction {
 public:
  explicit ReadTransaction(SQLite::Database& db) : db_(db) { db_.exec("BEGIN"); }
  ~ReadTransaction() {
    if (open_) sqlite3_exec(db_.getHandle(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
  void End() {
    open_ = false;
    db_.exec("COMMIT");
  }

 private:
  SQLite::Database& db_;
  bool open_ = true;
};

// Puts games read in the table's order (of their ids) in the order of their starts: as a rule
// they are in it already.
void PutInOrderOfStarts(std::vector<Game>& games) {
  const auto earlier = [](const Game& a, const Game& b) { return a.Start() < b.Start(); };
  if (!std::is_sorted(games.begin(), games.end(), earlier)) {
    std::stable_sort(games.begin(), games.end(), earlier);
  }
}

// Every game of the table, in order, read by two connections at once, each on a core of its own:
// the lower ids by db's, the others by a connection of its own to the same file. Each reads
// the table in its own order, which spares it a walk of the index of the starts and a look-up of
// each row from there, and puts its games in order. Nothing when the table holds too few games
// for it, or a game started before 1970 (its start would come after an unknown one), or when
// another connection changed the database while the two began to read (they could have read two
// states of it).
std::optional<std::vector<Game>> LoadWholeTable(SQLite::Database& db) {
  ReadTransaction transaction(db);
  const int64_t count = db.execAndGet("SELECT count(*) FROM games").getInt64();
  if (count < kGamesForTwoReads ||
      db.execAndGet("SELECT EXISTS (SELECT 1 FROM games WHERE start < 0)").getInt() != 0) {
    return std::nullopt;
  }
  // The ids are as a rule those of rows added one after the other: their middle halves the games.
  const int64_t split = db.execAndGet("SELECT (min(id) + max(id)) / 2 + 1 FROM games").getInt64();
  const int64_t version = db.execAndGet("PRAGMA data_version").getInt64();
  // The path SQLite itself opens the database's log by.
  SQLite::Database other(sqlite3_db_filename(db.getHandle(), "main"),
                         SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX,
                         db.execAndGet("PRAGMA busy_timeout").getInt());
  std::vector<Game> later;
  std::exception_ptr failure;
  std::thread laterHalf([&] {
    try {
      ReadTransaction otherTransaction(other);
      Query select(other, std::string(kSelectGames) + " WHERE id >= :split");
      select.Bind(":split", split);
      later.reserve(static_cast<size_t>(count - count / 2));
      AdviseHugePages(later);
      AddGamesOfRows(std::move(select), later);
      otherTransaction.End();
      PutInOrderOfStarts(later);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  std::vector<Game> games;
  try {
    games.reserve(static_cast<size_t>(count));
    AdviseHugePages(games);
    Query select(db, std::string(kSelectGames) + " WHERE id < :split");
    select.Bind(":split", split);
    AddGamesOfRows(std::move(select), games);
    PutInOrderOfStarts(games);
  } catch (...) {
    laterHalf.join();
    throw;
  }
  laterHalf.join();
  if (failure) std::rethrow_exception(failure);
  transaction.End();
  if (db.execAndGet("PRAGMA data_version").getInt64() != version) return std::nullopt;
  if (games.empty() || later.empty() || games.back().Start() <= later.front().Start()) {
    games.insert(games.end(), std::make_move_iterator(later.begin()),
                 std::make_move_iterator(later.end()));
    return games;
  }
  // A game of the same start as one of lower id goes after it.
  std::vector<Game> merged;
  merged.reserve(games.size() + later.size());
  AdviseHugePages(merged);
  std::merge(std::make_move_iterator(games.begin()), std::make_move_iterator(games.end()),
             std::make_move_iterator(later.begin()), std::make_move_iterator(later.end()),
             std::back_inserter(merged),
             [](const Game& a, const Game& b) { return a.Start() < b.Start(); });
  return merged;
}

}  // namespace

int64_t StartBatch(SQLite::Database& db, std::string_view kind, std::optional<int64_t> source,
                   const std::string& file) {
  SQLite::Statement insert(db,
                           "INSERT INTO batches (kind, source, file, started) VALUES (?, ?, ?, ?)");
  insert.bind(1, std::string(kind));
  BindOptional(insert, 2, source);
  BindText(insert, 3, file);
  insert.bind(4, static_cast<int64_t>(std::time(nullptr)));
  insert.exec();
  return db.getLastInsertRowid();
}

int AddGames(SQLite::Database& db, int64_t batch, std::span<const Game> games) {
  SQLite::Statement insert(db, kInsertGame);
  int added = 0;
  for (const Game& game : games) {
    // A game of the log stays there; a game read back from the database is there already.
    if (!game.details || !game.details->identity) continue;
    // Its identity holds the texts its details show.
    const GameDetails& d = *game.details;
    const GameIdentity& id = *d.identity;
    const GameRecord& r = game.record;
    const bool white = r.userWhite != 0;
    const auto rating = [](int value) { return Known(value, value != 0); };
    const auto change = [](std::optional<int> value) {
      return value ? std::optional<int64_t>(*value) : std::nullopt;
    };
    int column = 0;
    insert.bind(++column, std::string(ServerName(game.server)));
    insert.bind(++column, id.gameId);
    insert.bind(++column, batch);
    BindOptional(insert, ++column, Known(d.start, d.start != kUnknownStartTime));
    insert.bind(++column, white ? id.user : id.opponent);
    insert.bind(++column, white ? id.opponent : id.user);
    insert.bind(++column, white ? 1 : 0);
    insert.bind(++column, ResultFromWhiteText(r));
    BindText(insert, ++column, id.labels.termination);
    BindOptional(insert, ++column, rating(white ? r.userRating : r.opponentRating));
    BindOptional(insert, ++column, rating(white ? r.opponentRating : r.userRating));
    BindOptional(insert, ++column, change(white ? d.ratingChange : id.opponentRatingChange));
    BindOptional(insert, ++column, change(white ? id.opponentRatingChange : d.ratingChange));
    insert.bind(++column, r.rated != 0 ? 1 : 0);
    BindText(insert, ++column, id.labels.variant);
    BindOptional(insert, ++column, Known(d.clock.baseSeconds, d.clock.known));
    BindOptional(insert, ++column, Known(d.clock.incrementSeconds, d.clock.known));
    BindOptional(insert, ++column, Known(d.clock.daysPerMove, d.clock.daysPerMove != 0));
    BindText(insert, ++column, id.labels.timeClass);
    BindText(insert, ++column, id.labels.eco);
    BindText(insert, ++column, id.labels.opening);
    BindText(insert, ++column, id.link);
    BindText(insert, ++column, white ? id.userTitle : id.opponentTitle);
    BindText(insert, ++column, white ? id.opponentTitle : id.userTitle);
    insert.bind(++column, RatingTypeOf(r));
    unsigned char bytes[kGameRecordBytes];
    EncodeGameRecord(r, bytes);
    insert.bind(++column, bytes, static_cast<int>(sizeof bytes));
    added += insert.exec();
    insert.reset();
  }
  return added;
}

std::vector<Game> LoadGames(SQLite::Database& db, const GameFilter& filter,
                            const std::optional<std::string>& opponent) {
  const bool wholeTable = !opponent && !filter.server && !filter.since && !filter.until &&
                          filter.types == AnyRatingType && !filter.white && !filter.rated;
  if (wholeTable && sqlite3_get_autocommit(db.getHandle()) != 0) {
    if (std::optional<std::vector<Game>> games = LoadWholeTable(db)) return std::move(*games);
  }
  std::vector<Game> games;
  AddGamesOfRows(FilteredSelect(db, kSelectGames, filter, opponent, kInOrder), games);
  return games;
}

void VisitGameResults(SQLite::Database& db, const GameFilter& filter,
                      const GameResultVisitor& visit) {
  Query select =
      FilteredSelect(db, "SELECT server, opponent, record FROM games", filter, std::nullopt, "");
  ServerOfRows servers;
  while (select.Step()) {
    if (const std::optional<GameRecord> record = select.Record(2)) {
      visit(servers.Of(select.Text(0)), select.Text(1), *record);
    }
  }
}

}  // namespace tessik
