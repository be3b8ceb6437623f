#include "generated_database.h"

#include <SQLiteCpp/Transaction.h>

#include <memory>
#include <vector>

#include "database/game_rows.h"
#include "database/record_database.h"
#include "generated_log.h"

void WriteGeneratedDatabase(const std::string& path, int games, int opponents) {
  tessik::RecordDatabase database(tessik::DatabasePlaceOf(path, "ann"), true);
  SQLite::Database& sql = database.sql();
  const std::vector<tessik::GameRecord> log = GenerateGameLog(games, opponents);
  const int64_t batch = tessik::StartBatch(sql, tessik::kImportBatch, std::nullopt, "big.pgn");
  std::vector<tessik::Game> pending;
  for (size_t i = 1; i < log.size(); ++i) {  // behind the marker
    auto details = std::make_shared<tessik::GameDetails>();
    details->identity = std::make_unique<tessik::GameIdentity>();
    details->identity->gameId = "g" + std::to_string(i);
    details->identity->user = "ann";
    details->opponent = details->identity->opponent = tessik::OpponentName(log[i]);
    details->start = log[i].startTime;
    pending.push_back({log[i], tessik::Server::Lichess, std::move(details)});
    if (pending.size() == 20000 || i + 1 == log.size()) {
      SQLite::Transaction transaction(sql);
      tessik::AddGames(sql, batch, pending);
      transaction.commit();
      pending.clear();
    }
  }
}
