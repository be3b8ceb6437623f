#include "support/records.h"

namespace tessik {

GameRecord GameAgainst(const std::string& opponent, int8_t result) {
  GameRecord record;
  SetOpponent(record, opponent);
  record.result = result;
  return record;
}

GameRecord RatedGame(const std::string& opponent, int8_t result, int minutes, int increment,
                     int userRating, int opponentRating, bool userWhite) {
  GameRecord record = GameAgainst(opponent, result);
  record.rated = 1;
  record.initialMinutes = minutes;
  record.incrementSeconds = static_cast<uint8_t>(increment);
  record.userRating = static_cast<int16_t>(userRating);
  record.opponentRating = static_cast<int16_t>(opponentRating);
  record.userWhite = userWhite ? 1 : 0;
  return record;
}

std::vector<GameRecord> DecodeLog(const std::string& bytes) {
  std::vector<GameRecord> records;
  for (size_t at = 0; at + kGameRecordBytes <= bytes.size(); at += kGameRecordBytes) {
    records.push_back(DecodeGameRecord(reinterpret_cast<const unsigned char*>(&bytes[at])));
  }
  return records;
}

std::vector<GameRecord> LogOf(const std::vector<GameRecord>& games) {
  std::vector<GameRecord> log = {MarkerRecord()};
  log.insert(log.end(), games.begin(), games.end());
  return log;
}

std::string Describe(const GameRecord& record) {
  const char* results[] = {"marker", "won", "drawn", "lost"};
  std::string text =
      std::string(OpponentName(record)) + " " + results[(record.result + 2) & 3] +
      (record.userWhite ? " white " : " black ") + std::to_string(record.userRating) + "/" +
      std::to_string(record.opponentRating) + " " + std::to_string(record.initialMinutes) + "+" +
      std::to_string(record.incrementSeconds) + (record.rated ? "" : " unrated") + " pool " +
      std::to_string(record.pool);
  return record.wild == 0 ? text : text + " wild " + std::to_string(record.wild);
}

std::vector<std::string> Opponents(const std::vector<GameRecord>& records, size_t first) {
  std::vector<std::string> names;
  for (size_t i = first; i < records.size(); ++i) names.emplace_back(OpponentName(records[i]));
  return names;
}

}  // namespace tessik
