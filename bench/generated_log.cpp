#include "generated_log.h"

#include <random>
#include <string>

std::vector<tessik::GameRecord> GenerateGameLog(int games, int opponents) {
  std::mt19937 random(20261206);
  std::vector<tessik::GameRecord> log(1, tessik::MarkerRecord());
  log.reserve(static_cast<size_t>(games) + 1);
  for (int i = 1; i <= games; ++i) {
    tessik::GameRecord game;
    tessik::SetOpponent(game, "Player" + std::to_string(random() % opponents));
    game.result = static_cast<int8_t>(static_cast<int>(random() % 3) - 1);
    game.userWhite = random() % 2;
    game.initialMinutes = static_cast<int32_t>(1 + random() % 15);
    game.wild = random() % 10 == 0 ? 23 : 0;
    game.userRating = static_cast<int16_t>(1400 + random() % 400);
    game.opponentRating = static_cast<int16_t>(1400 + random() % 400);
    game.startTime = 1600000000 + i * 60;
    log.push_back(game);
  }
  return log;
}
