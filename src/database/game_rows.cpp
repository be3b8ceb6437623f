#include "database/game_rows.h"

#include <SQLiteCpp/Statement.h>

#include <ctime>

namespace tessik {

namespace {

constexpr const char* kInsertGame = R"sql(
INSERT OR IGNORE INTO games (server, game_id, batch, start, white, black, user_white, result,
  termination, white_rating, black_rating, white_rating_change, black_rating_change, rated,
  variant, base_seconds, increment_seconds, days_per_move, time_class, eco, opening, link,
  white_title, black_title, rating_type, record)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)
)sql";

constexpr const char* kSelectGames =
    R"sql(SELECT server, game_id, batch, start, white, black, user_white, termination,
  white_rating_change, black_rating_change, variant, base_seconds, increment_seconds,
  days_per_move, time_class, eco, opening, link, white_title, black_title, record
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

std::string Text(const SQLite::Column& column) { return column.isNull() ? "" : column.getString(); }

std::optional<int> OptionalInt(const SQLite::Column& column) {
  return column.isNull() ? std::nullopt : std::optional<int>(column.getInt());
}

Game GameOfRow(const SQLite::Statement& row) {
  Game game;
  const SQLite::Column record = row.getColumn(20);
  if (record.getBytes() == static_cast<int>(kGameRecordBytes)) {
    game.record = DecodeGameRecord(static_cast<const unsigned char*>(record.getBlob()));
  }
  game.server = ServerNamed(row.getColumn(0).getString()).value_or(Server::File);
  auto details = std::make_shared<GameDetails>();
  GameDetails& d = *details;
  d.gameId = row.getColumn(1).getString();
  d.batch = row.getColumn(2).getInt64();
  d.start = row.getColumn(3).isNull() ? kUnknownStartTime : row.getColumn(3).getInt64();
  const bool white = row.getColumn(6).getInt() != 0;
  d.user = row.getColumn(white ? 4 : 5).getString();
  d.opponent = row.getColumn(white ? 5 : 4).getString();
  d.termination = Text(row.getColumn(7));
  d.ratingChange = OptionalInt(row.getColumn(white ? 8 : 9));
  d.opponentRatingChange = OptionalInt(row.getColumn(white ? 9 : 8));
  d.variant = Text(row.getColumn(10));
  d.clock.known = !row.getColumn(11).isNull();
  d.clock.baseSeconds = row.getColumn(11).getInt64();
  d.clock.incrementSeconds = row.getColumn(12).getInt64();
  d.clock.daysPerMove = row.getColumn(13).getInt();
  d.timeClass = Text(row.getColumn(14));
  d.eco = Text(row.getColumn(15));
  d.opening = Text(row.getColumn(16));
  d.link = Text(row.getColumn(17));
  d.userTitle = Text(row.getColumn(white ? 18 : 19));
  d.opponentTitle = Text(row.getColumn(white ? 19 : 18));
  game.details = std::move(details);
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
  SQLite::Statement select =
      FilteredSelect(db, kSelectGames, filter, opponent, " ORDER BY start, id");
  std::vector<Game> games;
  while (select.executeStep()) games.push_back(GameOfRow(select));
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
