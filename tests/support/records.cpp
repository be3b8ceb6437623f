#include "support/records.h"

namespace tessik {

GameRecord GameAgainst(const std::string& opponent, int8_t result) {
  GameRecord record;
  SetOpponent(record, opponent);
  record.result = result;
  return record;
}

std::vector<GameRecord> DecodeLog(const std::string& bytes) {
  std::vector<GameRecord> records;
  for (size_t at = 0; at + kGameRecordBytes <= bytes.size(); at += kGameRecordBytes) {
    records.push_back(DecodeGameRecord(reinterpret_cast<const unsigned char*>(&bytes[at])));
  }
  return records;
}

}  // namespace tessik
