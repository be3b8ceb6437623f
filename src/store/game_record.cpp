#include "store/game_record.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"

namespace tessik {

void EncodeGameRecord(const GameRecord& record, unsigned char* out) {
  out[0] = record.wild;
  out[1] = record.origin;
  PutLittleEndian<uint16_t>(out + 2, record.reserved);
  PutLittleEndian<int32_t>(out + 4, record.initialMinutes);
  out[8] = record.incrementSeconds;
  out[9] = static_cast<unsigned char>((record.rated & 1) | (record.userWhite & 1) << 1 |
                                      (record.result & 3) << 2 | (record.title & 7) << 4);
  out[10] = static_cast<unsigned char>((record.womanTitle & 7) | (record.computer & 1) << 3 |
                                       (record.pool & 3) << 4);
  out[11] = 0;
  PutLittleEndian<int32_t>(out + 12, record.gameKey);
  PutLittleEndian<int32_t>(out + 16, record.startTime);
  PutLittleEndian<int16_t>(out + 20, record.userRating);
  std::memcpy(out + kOpponentOffset, record.opponent, kOpponentBytes);
  PutLittleEndian<int16_t>(out + 38, record.opponentRating);
}

namespace {

// Decodes one record into out, every field written.
inline void DecodeInto(const unsigned char* in, GameRecord& out) {
  static constexpr int8_t kResults[4] = {0, 1, -2, -1};
  out.wild = in[0];
  out.origin = in[1];
  out.reserved = GetLittleEndian<uint16_t>(in + 2);
  out.initialMinutes = GetLittleEndian<int32_t>(in + 4);
  out.incrementSeconds = in[8];
  out.rated = in[9] & 1;
  out.userWhite = (in[9] >> 1) & 1;
  out.result = kResults[(in[9] >> 2) & 3];
  out.title = (in[9] >> 4) & 7;
  out.womanTitle = in[10] & 7;
  out.computer = (in[10] >> 3) & 1;
  out.pool = (in[10] >> 4) & 3;
  out.gameKey = GetLittleEndian<int32_t>(in + 12);
  out.startTime = GetLittleEndian<int32_t>(in + 16);
  out.userRating = GetLittleEndian<int16_t>(in + 20);
  std::memcpy(out.opponent, in + kOpponentOffset, kOpponentBytes);
  out.opponentRating = GetLittleEndian<int16_t>(in + 38);
}

}  // namespace

GameRecord DecodeGameRecord(const unsigned char* in) {
  GameRecord record;
  DecodeInto(in, record);
  return record;
}

void DecodeGameRecords(const unsigned char* in, size_t count, std::vector<GameRecord>& out) {
  const size_t first = out.size();
  out.resize(first + count);
  for (size_t i = 0; i < count; ++i) DecodeInto(in + i * kGameRecordBytes, out[first + i]);
}

std::string EncodeGameLog(const std::vector<GameRecord>& records) {
  std::string bytes(records.size() * kGameRecordBytes, '\0');
  for (size_t i = 0; i < records.size(); ++i) {
    EncodeGameRecord(records[i], reinterpret_cast<unsigned char*>(&bytes[i * kGameRecordBytes]));
  }
  return bytes;
}

std::string_view GameLogPieces::operator()() {
  constexpr size_t kBatchRecords = 4096;
  const size_t count = std::min(kBatchRecords, records_->size() - next_);
  batch_.resize(count * kGameRecordBytes);
  for (size_t i = 0; i < count; ++i) {
    EncodeGameRecord((*records_)[next_ + i],
                     reinterpret_cast<unsigned char*>(&batch_[i * kGameRecordBytes]));
  }
  next_ += count;
  return batch_;
}

GameRecord MarkerRecord() {
  GameRecord marker;
  marker.wild = 1;
  marker.initialMinutes = 2;
  marker.result = kMarkerResult;
  SetOpponent(marker, kMarkerName);
  return marker;
}

GameRecord ImportPendingMarker() {
  GameRecord marker = MarkerRecord();
  marker.origin = kOriginLive;
  return marker;
}

bool AwaitsFirstImport(const GameRecord& marker) {
  return HoldsMarker(marker) && marker.origin == kOriginLive;
}

bool HoldsMarker(const GameRecord& record) {
  return std::memcmp(record.opponent, kMarkerName.data(), kMarkerName.size()) == 0;
}

std::string_view OpponentName(const GameRecord& record) {
  const char* end = std::find(record.opponent, record.opponent + kOpponentBytes, '\0');
  return std::string_view(record.opponent, static_cast<size_t>(end - record.opponent));
}

std::string_view StoredHandle(std::string_view handle) {
  return handle.substr(0, kOpponentBytes - 1);
}

void SetOpponent(GameRecord& record, std::string_view name) {
  std::memset(record.opponent, 0, kOpponentBytes);
  name = StoredHandle(name);
  std::memcpy(record.opponent, name.data(), name.size());
}

std::string DataDirectoryOf(std::string_view workingDirectory) {
  std::string directory(workingDirectory);
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory + "tessik/";
}

std::string GameLogName(std::string_view userName) { return std::string(userName) + ".glg"; }

std::string GameLogPath(std::string_view dataDirectory, std::string_view userName) {
  return std::string(dataDirectory) + GameLogName(userName);
}

int32_t ResultFromWhite(std::string_view text) {
  if (text == "1-0") return -1;
  if (text == "1/2-1/2") return 0;
  if (text == "0-1") return 1;
  return kNoResult;
}

int64_t ExpectedDuration(const GameRecord& record) {
  return 3 * static_cast<int64_t>(record.initialMinutes) + 2 * record.incrementSeconds;
}

bool HasPoolClock(const GameRecord& record) {
  return record.incrementSeconds == 0 &&
         (record.initialMinutes == 1 || record.initialMinutes == 5 || record.initialMinutes == 15);
}

bool IsUnrecordedVariant(uint8_t wild) {
  return wild == 6 || (wild >= 10 && wild <= 15) || wild == 19 || wild == 20 || wild == 24;
}

RatingType RatingTypeOf(const GameRecord& record) {
  if (record.wild != 0) {
    if (record.wild == 17 || record.wild == 26) return kRatingLosers;
    return record.wild == 23 ? kRatingCrazyhouse : kRatingWild;
  }
  int64_t e = ExpectedDuration(record);
  bool poolGame = record.pool == 1 || record.pool == 2;
  if (e >= 45) return poolGame ? kRating15Minute : kRatingStandard;
  if (e < 9) return poolGame ? kRating1Minute : kRatingBullet;
  return poolGame ? kRating5Minute : kRatingBlitz;
}

}  // namespace tessik
