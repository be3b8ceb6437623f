#include "database/game_rows.h"

#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <ctime>
#include <memory>

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

// What the figures read of a game: of the rating changes the user's; not the game's id, the
// user's name, the titles nor the batch, which only the import writes.
constexpr const char* kSelectGames =
    R"sql(SELECT server, start, opponent, user_white, termination,
  CASE user_white WHEN 1 THEN white_rating_change ELSE black_rating_change END, variant,
  base_seconds, increment_seconds, days_per_move, time_class, eco, opening, link, record
FROM games)sql";

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

// A column's text as SQLite holds it: NULL is empty.
std::string_view Text(const SQLite::Column& column) {
  return {column.getText(""), static_cast<size_t>(column.getBytes())};
}

// The details of the games one query reads, in blocks of memory that never move (each game's
// details point into them) and are filled soon after they are asked for: in huge pages, a
// million games' details cost a page fault each two megabytes, not each four kilobytes.
class DetailsBlocks {
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

 private:
  std::vector<std::vector<GameDetails>> blocks_;
};

// The game of the row kSelectGames reads, its details d, which blocks holds.
Game GameOfRow(const SQLite::Statement& row, Server server, GameDetails& d,
               const std::shared_ptr<DetailsBlocks>& blocks) {
  Game game;
  const SQLite::Column record = row.getColumn(14);
  if (record.getBytes() == static_cast<int>(kGameRecordBytes)) {
    game.record = DecodeGameRecord(static_cast<const unsigned char*>(record.getBlob()));
  }
  game.server = server;
  const SQLite::Column start = row.getColumn(1);
  d.start = start.isNull() ? kUnknownStartTime : start.getInt64();
  d.opponent = Text(row.getColumn(2));
  d.termination = Text(row.getColumn(4));
  const SQLite::Column change = row.getColumn(5);
  if (!change.isNull()) d.ratingChange = change.getInt();
  d.variant = Text(row.getColumn(6));
  const SQLite::Column base = row.getColumn(7);
  d.clock.known = !base.isNull();
  d.clock.baseSeconds = base.getInt64();
  d.clock.incrementSeconds = row.getColumn(8).getInt64();
  d.clock.daysPerMove = row.getColumn(9).getInt();
  d.timeClass = Text(row.getColumn(10));
  d.eco = Text(row.getColumn(11));
  d.opening = Text(row.getColumn(12));
  d.link = Text(row.getColumn(13));
  game.details = std::shared_ptr<GameDetails>(blocks, &d);
  return game;
}

// columns FROM games, with the conditions of filter and opponent, then order.
SQLite::Statement FilteredSelect(SQLite::Database& db, const std::string& columns,
                                 const GameFilter& filter,
                                 const std::optional<std::string>& opponent,
                                 const std::string& order) {
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
  SQLite::Statement select(db, columns + where + order);
  if (filter.server) select.bind(":server", std::string(ServerName(*filter.server)));
  if (filter.since) select.bind(":since", *filter.since);
  if (filter.until) select.bind(":until", *filter.until);
  if (filter.types != AnyRatingType) select.bind(":types", filter.types);
  if (filter.white) select.bind(":white", *filter.white ? 1 : 0);
  if (filter.rated) select.bind(":rated", *filter.rated ? 1 : 0);
  if (opponent) select.bind(":opponent", *opponent);
  return select;
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
    if (!game.details) continue;  // a game of the log stays there
    const GameDetails& d = *game.details;
    const GameRecord& r = game.record;
    const bool white = r.userWhite != 0;
    const auto rating = [](int value) { return Known(value, value != 0); };
    const auto change = [](std::optional<int> value) {
      return value ? std::optional<int64_t>(*value) : std::nullopt;
    };
    int column = 0;
    insert.bind(++column, std::string(ServerName(game.server)));
    insert.bind(++column, d.gameId);
    insert.bind(++column, batch);
    BindOptional(insert, ++column, Known(d.start, d.start != kUnknownStartTime));
    insert.bind(++column, white ? d.user : d.opponent);
    insert.bind(++column, white ? d.opponent : d.user);
    insert.bind(++column, white ? 1 : 0);
    insert.bind(++column, ResultFromWhiteText(r));
    BindText(insert, ++column, d.termination);
    BindOptional(insert, ++column, rating(white ? r.userRating : r.opponentRating));
    BindOptional(insert, ++column, rating(white ? r.opponentRating : r.userRating));
    BindOptional(insert, ++column, change(white ? d.ratingChange : d.opponentRatingChange));
    BindOptional(insert, ++column, change(white ? d.opponentRatingChange : d.ratingChange));
    insert.bind(++column, r.rated != 0 ? 1 : 0);
    BindText(insert, ++column, d.variant);
    BindOptional(insert, ++column, Known(d.clock.baseSeconds, d.clock.known));
    BindOptional(insert, ++column, Known(d.clock.incrementSeconds, d.clock.known));
    BindOptional(insert, ++column, Known(d.clock.daysPerMove, d.clock.daysPerMove != 0));
    BindText(insert, ++column, d.timeClass);
    BindText(insert, ++column, d.eco);
    BindText(insert, ++column, d.opening);
    BindText(insert, ++column, d.link);
    BindText(insert, ++column, white ? d.userTitle : d.opponentTitle);
    BindText(insert, ++column, white ? d.opponentTitle : d.userTitle);
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
  // The index of the starts (and the row ids after them) gives the order: SQLite sorts nothing.
  SQLite::Statement select =
      FilteredSelect(db, kSelectGames, filter, opponent, " ORDER BY start, id");
  auto blocks = std::make_shared<DetailsBlocks>();
  std::vector<Game> games;
  std::string serverName;
  Server server = Server::File;
  while (select.executeStep()) {
    if (games.size() == games.capacity()) {
      games.reserve(std::max<size_t>(2 * games.capacity(), DetailsBlocks::kBlock));
      AdviseHugePages(games);
    }
    // Rows come server by server as often as not: the name is looked up when it changes.
    if (const std::string_view name = Text(select.getColumn(0)); serverName != name) {
      serverName = name;
      server = ServerNamed(serverName).value_or(Server::File);
    }
    games.push_back(GameOfRow(select, server, blocks->Next(), blocks));
  }
  return games;
}

void VisitGameResults(SQLite::Database& db, const GameFilter& filter,
                      const GameResultVisitor& visit) {
  SQLite::Statement select =
      FilteredSelect(db, "SELECT server, opponent, record FROM games", filter, std::nullopt, "");
  std::string serverName;
  Server server = Server::File;
  while (select.executeStep()) {
    const SQLite::Column record = select.getColumn(2);
    if (record.getBytes() != static_cast<int>(kGameRecordBytes)) continue;
    // Rows come server by server as often as not: the name is looked up when it changes.
    const char* name = select.getColumn(0).getText();
    if (serverName != name) {
      serverName = name;
      server = ServerNamed(serverName).value_or(Server::File);
    }
    const SQLite::Column opponent = select.getColumn(1);
    visit(server, std::string_view(opponent.getText(), static_cast<size_t>(opponent.getBytes())),
          DecodeGameRecord(static_cast<const unsigned char*>(record.getBlob())));
  }
}

}  // namespace tessik
