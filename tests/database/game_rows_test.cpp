// A large record read back from the database, as the statistics view reads it: every game once,
// in the order played, with its details.
#include "database/game_rows.h"

#include <SQLiteCpp/Transaction.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "database/record_database.h"
#include "record/record_source.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

TEST(GameRows, AWholeRecordOfManyGamesReadsBackInTheOrderPlayed) {
  // Enough games for two connections to share the read; their starts written out of order, often
  // the same, a tenth unknown.
  constexpr int kGames = kGamesForTwoReads + 5001;
  std::vector<Game> written(kGames);
  for (int i = 0; i < kGames; ++i) {
    Game& game = written[static_cast<size_t>(i)];
    game.server = i % 3 == 0 ? Server::ChessCom : Server::Lichess;
    game.record.result = static_cast<int8_t>(i % 3 - 1);
    game.record.userRating = static_cast<int16_t>(1200 + i % 500);
    auto details = std::make_shared<GameDetails>();
    details->identity = std::make_unique<GameIdentity>();
    GameIdentity& own = *details->identity;
    own.gameId = std::to_string(i);
    own.user = "ann";
    details->opponent = own.opponent = "Player" + std::to_string(i * 7 % 5003);
    details->start = i % 10 == 0 ? kUnknownStartTime : 1700000000 + i * 7919 % 3001 * 60;
    own.labels.termination = i % 2 == 0 ? "Normal" : "Time forfeit";
    own.labels.opening = "Opening " + std::to_string(i % 50);
    details->labels = &own.labels;
    details->link = own.link = "https://lichess.org/" + std::to_string(i);
    game.details = std::move(details);
  }
  TempDirectory dir;
  const std::string path = (dir / "ann.sqlite").string();
  {
    RecordDatabase database(DatabasePlaceOf(path, "ann"), true);
    SQLite::Transaction transaction(database.sql());
    AddGames(database.sql(), StartBatch(database.sql(), kImportBatch, std::nullopt, "many.pgn"),
             written);
    transaction.commit();
  }
  // Unknown starts first, then by start; games of one start in the order written.
  std::stable_sort(written.begin(), written.end(),
                   [](const Game& a, const Game& b) { return a.Start() < b.Start(); });
  RecordSource source({dir.path(), "ann", path});
  const std::vector<Game> read = source.Games();
  const auto row = [](const Game& game) {
    return std::tuple(game.Start(), ServerName(game.server), std::string(game.Opponent()),
                      game.record.result, game.record.userRating, std::string(game.details->link),
                      game.details->labels->termination, game.details->labels->opening);
  };
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) ASSERT_EQ(row(read[i]), row(written[i])) << "game " << i;
}

}  // namespace
}  // namespace tessik
