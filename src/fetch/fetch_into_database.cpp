#include "fetch/fetch_into_database.h"

#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "base/text.h"
#include "database/game_rows.h"
#include "database/sources.h"
#include "fetch/online_fetch.h"
#include "import/pgn_walker.h"
#include "stats/archive_game.h"
#include "store/handle.h"

namespace tessik {

namespace {

// How far before the newest game held a lichess fetch begins.
constexpr int64_t kLichessMarginSeconds = 30 * 86400;

// The account's game of one game's PGN; false for another's, or one without a result.
bool GameOf(const FetchedGame& fetched, const std::string& account, Game& game) {
  PgnWalker walker{ByteSource(std::string_view(fetched.pgn))};
  ArchiveTags tags;
  StartTimes startTimes;
  walker.Next([&tags](std::string_view name, std::string_view value) { tags.Take(name, value); });
  if (ArchiveGame(tags, account, PgnFormat::Online, startTimes, game) != LeftOut::Kept)
    return false;
  GameIdentity& own = *game.details->identity;  // the texts the details show
  if (!fetched.timeClass.empty()) own.labels.timeClass = fetched.timeClass;
  if (game.details->link.empty()) game.details->link = own.link = fetched.url;
  return true;
}

class Committer {
 public:
  Committer(RecordDatabase& db, int64_t source, const FetchRequest& request, FetchResult& result)
      : db_(db), source_(source), request_(request), result_(result) {}

  // Adds the games and, when given, the month fetched, in one transaction.
  void Commit(const std::vector<FetchedGame>& fetched, const FetchedMonth* month) {
    std::vector<Game> games;
    for (const FetchedGame& one : fetched) {
      Game game;
      if (GameOf(one, request_.account, game)) games.push_back(std::move(game));
    }
    SQLite::Transaction transaction(db_.sql());
    if (!games.empty() && batch_ == 0) batch_ = StartBatch(db_.sql(), kFetchBatch, source_, "");
    const int added = games.empty() ? 0 : AddGames(db_.sql(), batch_, games);
    if (month != nullptr) SaveFetchedMonth(db_.sql(), source_, *month);
    transaction.commit();
    committed_ = committed_ || added > 0 || month != nullptr;
    result_.received += static_cast<int>(games.size());
    result_.added += added;
    if (request_.committed) request_.committed(result_);
  }

  // Whether a commit left anything: games, or a month fetched.
  bool Committed() const { return committed_; }

 private:
  RecordDatabase& db_;
  int64_t source_;
  const FetchRequest& request_;
  FetchResult& result_;
  int64_t batch_ = 0;
  bool committed_ = false;
};

}  // namespace

FetchResult FetchIntoDatabase(RecordDatabase& db, const FetchRequest& request) {
  db.PrepareBulkWrite();
  FetchResult result;
  const std::vector<Source> before = Sources(db.sql());
  const int64_t source = SourceOf(db.sql(), ServerName(request.server), request.account);
  const bool known = std::any_of(before.begin(), before.end(),
                                 [source](const Source& held) { return held.id == source; });
  Committer committer(db, source, request, result);
  FetchHooks hooks;
  hooks.progress = request.progress;
  hooks.stop = request.stop;
  hooks.games = [&](std::vector<FetchedGame>&& games) { committer.Commit(games, nullptr); };
  hooks.month = [&](const FetchedMonth& month, std::vector<FetchedGame>&& games) {
    committer.Commit(games, &month);
  };
  try {
    if (request.server == Server::Lichess) {
      std::optional<int64_t> since;
      if (auto newest = NewestGameStart(db.sql(), ServerName(Server::Lichess), request.account)) {
        since = (*newest - kLichessMarginSeconds) * 1000;
      }
      FetchLichess(request.account, since, request.token, hooks);
    } else {
      FetchChessCom(request.account, FetchedMonths(db.sql(), source), hooks);
    }
  } catch (...) {
    // An account tried for the first time that failed before bringing anything is not kept: a
    // mistyped name would be asked for again at every fetch of all sources.
    if (!known && !committer.Committed()) {
      try {
        ForgetSource(db.sql(), source);
      } catch (const SQLite::Exception&) {  // the fetch's own error is the one to tell
      }
    }
    throw;
  }
  return result;
}

std::string FetchSummary(Server server, std::string_view account, const FetchResult& result) {
  return std::string(ServerName(server)) + " " + PrintableName(account) + ": " +
         GamesText(result.received) + " received, " + std::to_string(result.added) + " new";
}

}  // namespace tessik
