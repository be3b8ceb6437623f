#include "stats/game.h"

#include "stats/archive_game.h"

namespace tessik {

Game GameOfRecord(const GameRecord& record) {
  Game game;
  RefillFromRecord(game, record);
  return game;
}

void RefillFromRecord(Game& game, const GameRecord& record) {
  game.record = record;
  if (game.server != kHostServer) game.server = kHostServer;  // a refill's is already
  game.opponent = OpponentName(record);
  game.start = record.startTime;
  game.clock = {};
  game.clock.known = record.initialMinutes != kNoClockMinutes;
  if (game.clock.known) {
    game.clock.baseSeconds = int64_t{record.initialMinutes} * 60;
    game.clock.incrementSeconds = record.incrementSeconds;
  }
}

std::vector<Game> GamesOfLog(const std::vector<GameRecord>& log) {
  std::vector<Game> games;
  games.reserve(log.empty() ? 0 : log.size() - 1);
  for (size_t i = 1; i < log.size(); ++i) games.push_back(GameOfRecord(log[i]));
  return games;
}

}  // namespace tessik
