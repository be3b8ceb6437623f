#include "database/database_import.h"

#include <SQLiteCpp/Transaction.h>

#include <vector>

#include "base/text.h"
#include "database/database_error.h"
#include "database/game_rows.h"
#include "database/pgn_input.h"
#include "import/pgn_walker.h"
#include "platform/file_error.h"
#include "store/handle.h"

namespace tessik {

namespace {

constexpr size_t kGamesACommit = 5000;

void KeepPlayersOfEveryGame(std::string_view white, std::string_view black,
                            DatabaseImportResult& result) {
  std::vector<std::string>& names = result.everyGamePlayers;
  if (result.read == 1) {
    for (std::string_view name : {white, black}) {
      if (!name.empty() && !(names.size() == 1 && EqualsNoCase(names[0], name))) {
        names.emplace_back(name);
      }
    }
    return;
  }
  std::erase_if(names, [&](const std::string& name) {
    return !EqualsNoCase(name, white) && !EqualsNoCase(name, black);
  });
}

}  // namespace

DatabaseImportResult ImportIntoDatabase(RecordDatabase& db, const DatabaseImportRequest& request) {
  const std::string name = request.pgnPath == "-" ? "standard input" : request.pgnPath;
  const auto failed = [&name](const std::string& why) {
    return DatabaseError("cannot read the PGN " + PrintableName(name) + ": " + why);
  };
  PgnInput input;
  if (std::error_code error = input.Open(request.pgnPath)) throw failed(DescribeReadError(error));
  DatabaseImportResult result;
  db.PrepareBulkWrite();
  std::vector<Game> games;
  const auto commit = [&] {
    SQLite::Transaction transaction(db.sql());
    const bool first = result.batch == 0;
    if (first) result.batch = StartBatch(db.sql(), kImportBatch, {}, name);
    const int added = AddGames(db.sql(), result.batch, games);
    if (first && added == 0) {
      result.batch = 0;  // a run that brought nothing leaves no trace (rolled back)
    } else {
      transaction.commit();
    }
    result.added += added;
    result.present += static_cast<int>(games.size()) - added;
    games.clear();
  };
  PgnWalker walker(input.Source());
  ArchiveTags tags;
  StartTimes startTimes;
  auto take = [&tags](std::string_view tag, std::string_view value) { tags.Take(tag, value); };
  try {
    for (; walker.Next(take); tags.Clear()) {
      const PgnTags& t = tags.server;
      if (t[kTagWhite].empty() && t[kTagBlack].empty() && t[kTagResult].empty()) continue;
      ++result.read;
      KeepPlayersOfEveryGame(t[kTagWhite], t[kTagBlack], result);
      Game game;
      const LeftOut why = ArchiveGame(tags, request.player, request.format, startTimes, game);
      if (why != LeftOut::Kept) {
        ++result.leftOut[static_cast<size_t>(why)];
        continue;
      }
      games.push_back(std::move(game));
      if (games.size() == kGamesACommit) {
        commit();
        if (request.progress)
          request.progress(static_cast<off_t>(walker.BytesRead()), input.Size());
      }
    }
    // A read that failed, or a compressed file cut off, may have ended the last game early: it
    // is left out, and the whole games before it are kept.
    const std::string inflateError = input.Finish();
    const bool cut = walker.Failed() || !inflateError.empty();
    if (cut && !games.empty()) games.pop_back();
    if (!games.empty()) commit();
    if (walker.Failed()) throw failed(DescribeReadError(ErrnoError(walker.Error())));
    if (!inflateError.empty()) throw failed(inflateError);
  } catch (const SQLite::Exception& error) {
    throw DatabaseError("cannot write the database " + PrintableName(db.path()) + ": " +
                        error.what());
  }
  if (request.progress) request.progress(input.Size(), input.Size());
  return result;
}

}  // namespace tessik
