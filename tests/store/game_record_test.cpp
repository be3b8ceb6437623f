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

TEST(GameRecord, FieldsLandOnTheirBytes) {
  GameRecord record;
  record.wild = 23;
  record.origin = kOriginLive;
  record.initialMinutes = 0x01020304;
  record.incrementSeconds = 12;
  record.rated = 1;
  record.userWhite = 0;
  record.result = kUserWon;
  record.title = 6;
  record.womanTitle = 5;
  record.computer = 1;
  record.pool = 2;
  record.gameKey = -2;
  record.startTime = 1700000000;
  record.userRating = 1850;
  SetOpponent(record, "GMhikaru");
  record.opponentRating = -3;
  Bytes expected = {23,   12,   0,    0,    0x04, 0x03, 0x02, 0x01, 12,   0x6D,
                    0x2D, 0,    0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0xF1, 0x53, 0x65,
                    0x3A, 0x07, 'G',  'M',  'h',  'i',  'k',  'a',  'r',  'u',
                    0,    0,    0,    0,    0,    0,    0,    0,    0xFD, 0xFF};
  EXPECT_EQ(Encoded(record), expected);
  GameRecord decoded = DecodeGameRecord(expected.data());
  EXPECT_EQ(Encoded(decoded), expected);
  EXPECT_EQ(decoded.result, kUserWon);
  EXPECT_EQ(decoded.title, 6);
  EXPECT_EQ(decoded.womanTitle, 5);
  EXPECT_EQ(decoded.pool, 2);
  EXPECT_EQ(OpponentName(decoded), "GMhikaru");
}

TEST(GameRecord, ResultsKeepTheirSignThroughTwoBits) {
  for (int8_t result : {kUserWon, kDraw, kUserLost, kMarkerResult}) {
    GameRecord record;
    record.result = result;
    EXPECT_EQ(DecodeGameRecord(Encoded(record).data()).result, result);
  }
}

TEST(GameRecord, UnusedBitsAreWrittenAsZero) {
  Bytes noisy{};
  noisy[9] = 0x80;
  noisy[10] = 0xC0;
  noisy[11] = 0xFF;
  Bytes written = Encoded(DecodeGameRecord(noisy.data()));
  EXPECT_EQ(written[9], 0);
  EXPECT_EQ(written[10], 0);
  EXPECT_EQ(written[11], 0);
}

TEST(GameRecord, MarkerBytes) {
  Bytes expected{};
  expected[0] = 1;
  expected[4] = 2;
  expected[9] = 0x08;  // result -2: bits 10
  for (size_t i = 0; i < kMarkerName.size(); ++i) expected[22 + i] = kMarkerName[i];
  EXPECT_EQ(Encoded(MarkerRecord()), expected);
  EXPECT_TRUE(HoldsMarker(MarkerRecord()));
}

TEST(GameRecord, HandleOfFifteenCharactersKeepsOneNul) {
  GameRecord record;
  SetOpponent(record, "abcdefghijklmnopq");
  Bytes bytes = Encoded(record);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data()) + 22, 15), "abcdefghijklmno");
  EXPECT_EQ(bytes[37], 0);
  EXPECT_EQ(OpponentName(record), "abcdefghijklmno");
  std::fill(record.opponent, record.opponent + kOpponentBytes, 'z');  // an old log's full field
  EXPECT_EQ(OpponentName(record).size(), 16u);
}

GameRecord Clock(int minutes, int increment, uint8_t pool = 0, uint8_t wild = 0) {
  GameRecord record;
  record.initialMinutes = minutes;
  record.incrementSeconds = static_cast<uint8_t>(increment);
  record.pool = pool;
  record.wild = wild;
  return record;
}

TEST(RatingTypeOf, ClockDecidesOrdinaryChess) {
  EXPECT_EQ(RatingTypeOf(Clock(2, 12)), kRatingBlitz);
  EXPECT_EQ(RatingTypeOf(Clock(2, 12, 1)), kRating5Minute);
  EXPECT_EQ(RatingTypeOf(Clock(15, 0)), kRatingStandard);
  EXPECT_EQ(RatingTypeOf(Clock(15, 0, 2)), kRating15Minute);
  EXPECT_EQ(RatingTypeOf(Clock(3, 0)), kRatingBlitz);
  EXPECT_EQ(RatingTypeOf(Clock(2, 1)), kRatingBullet);
  EXPECT_EQ(RatingTypeOf(Clock(1, 0, 1)), kRating1Minute);
  EXPECT_EQ(RatingTypeOf(Clock(1, 0, 3)), kRatingBullet);
}

TEST(RatingTypeOf, VariantNumberDecidesVariants) {
  EXPECT_EQ(RatingTypeOf(Clock(2, 12, 0, 26)), kRatingLosers);
  EXPECT_EQ(RatingTypeOf(Clock(2, 12, 0, 17)), kRatingLosers);
  EXPECT_EQ(RatingTypeOf(Clock(2, 12, 0, 23)), kRatingCrazyhouse);
  EXPECT_EQ(RatingTypeOf(Clock(2, 12, 1, 1)), kRatingWild);
}

}  // namespace
}  // namespace tessik
