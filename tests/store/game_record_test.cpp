#include "store/game_record.h"

#include <gtest/gtest.h>

#include <array>

namespace tessik {
namespace {

using Bytes = std::array<unsigned char, kGameRecordBytes>;

Bytes Encoded(const GameRecord& record) {
  Bytes bytes{};
  EncodeGameRecord(record, bytes.data());
  return bytes;
}

TEST(GameRecord, EveryFieldHasItsBitsAndComesBackDecoded) {
  const Bytes bytes = {23,   12,   0x02, 0x01, 0x04, 0x03, 0x02, 0x01, 12,   0x6D,
                       0x2D, 0,    0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0xF1, 0x53, 0x65,
                       0x3A, 0x07, 'G',  'M',  'h',  'i',  'k',  'a',  'r',  'u',
                       0,    0,    0,    0,    0,    0,    0,    0,    0xFD, 0xFF};
  const GameRecord r = DecodeGameRecord(bytes.data());
  EXPECT_EQ(
      std::vector<int64_t>({r.wild, r.origin, r.reserved, r.initialMinutes, r.incrementSeconds,
                            r.rated, r.userWhite, r.result, r.title, r.womanTitle, r.computer,
                            r.pool, r.gameKey, r.startTime, r.userRating, r.opponentRating}),
      std::vector<int64_t>({23, kOriginLive, 0x0102, 0x01020304, 12, 1, 0, kUserWon, 6, 5, 1, 2, -2,
                            1700000000, 1850, -3}));
  EXPECT_EQ(OpponentName(r), "GMhikaru");
  EXPECT_EQ(Encoded(r), bytes);
  for (int8_t result : {kUserWon, kDraw, kUserLost, kMarkerResult}) {  // signed, in two bits
    EXPECT_EQ(DecodeGameRecord(Encoded({.userWhite = 1, .result = result}).data()).result, result);
  }
}

// An older version filled all sixteen bytes of the name, with no NUL: read to the field's end.
TEST(GameRecord, AnOldLogsOpponentOfSixteenCharacters) {
  GameRecord record;
  std::fill(record.opponent, record.opponent + kOpponentBytes, 'z');
  EXPECT_EQ(OpponentName(record), std::string(16, 'z'));
}

}  // namespace
}  // namespace tessik
