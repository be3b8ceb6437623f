#include "stats/whole_record.h"

#include "stats/log_duplicates.h"

namespace tessik {

std::vector<Game> WholeRecord(std::vector<Game> log, std::vector<Game> database) {
  if (database.empty()) return log;
  if (log.empty()) return database;  // in order, and none of it held by the log
  LogDuplicates held;
  for (const Game& game : log) held.Add(game.record);
  std::vector<Game> whole;
  whole.reserve(log.size() + database.size());
  auto next = database.begin();
  const auto addUntil = [&](const Game* before) {
    for (; next != database.end() && (before == nullptr || next->Start() < before->Start());
         ++next) {
      if (!held.Take(next->record, next->server == Server::Host)) whole.push_back(std::move(*next));
    }
  };
  for (Game& game : log) {
    addUntil(&game);
    whole.push_back(std::move(game));
  }
  addUntil(nullptr);
  return whole;
}

}  // namespace tessik
