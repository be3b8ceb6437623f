// Every name of the protocol pinned to the number the host knows it by: the numbers here are
// written out on their own, as the session scripts write them.
#include "host/protocol.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

struct Pin {
  const char* name;
  long value;
  long number;
};
#define PIN(name, number) Pin(#name, static_cast<long>(name), number)

TEST(Protocol, EachNameStandsForItsNumber) {
  const Pin kPins[] = {
      // message types
      PIN(kMsgPluginName, 1),
      PIN(kMsgServerCommand, 2),
      PIN(kMsgConsoleLine, 3),
      PIN(kMsgHello, 4),
      PIN(kMsgWantDatagram, 5),
      PIN(kMsgWantOtherDatagram, 6),
      PIN(kMsgUnusedValueFirst, 7),
      PIN(kMsgDropOtherDatagram, 8),
      PIN(kMsgUnusedBlock, 9),
      PIN(kMsgUnusedValueSecond, 10),
      PIN(kMsgUnusedValueThird, 11),
      PIN(kMsgHostBlockFirst, 1000),
      PIN(kMsgDatagram, 1001),
      PIN(kMsgHostBlockSecond, 1002),
      PIN(kMsgConnectionEnded, 1003),
      PIN(kMsgHostBlockThird, 1004),
      PIN(kHelloValue, 1),
      PIN(kValuePayloadBytes, 2),
      // a message's header, a datagram's header
      PIN(kMessageTypeAt, 0),
      PIN(kMessageLengthAt, 2),
      PIN(kMessageHeaderBytes, 4),
      PIN(kMaxPayloadBytes, 32767),
      PIN(kDatagramSourceAt, 0),
      PIN(kDatagramNumberAt, 2),
      PIN(kDatagramUnusedAt, 4),
      PIN(kDatagramFieldCountAt, 8),
      PIN(kDatagramHeaderBytes, 10),
      // datagrams and their fields
      PIN(kHostEventSource, 1),
      PIN(kConnectionClosing, 16),
      PIN(kFingerAnswer, 130),
      PIN(kAssessAnswer, 135),
      PIN(answer_field::kText, 0),
      PIN(kLoginDatagram, 0),
      PIN(login_field::kHandle, 0),
      PIN(kGameStartDatagram, 15),
      PIN(game_start_field::kGameNumber, 0),
      PIN(game_start_field::kWhite, 1),
      PIN(game_start_field::kBlack, 2),
      PIN(game_start_field::kVariantNumber, 3),
      PIN(game_start_field::kRatingTypeName, 4),
      PIN(game_start_field::kRated, 5),
      PIN(game_start_field::kWhiteInitialTime, 6),
      PIN(game_start_field::kWhiteIncrement, 7),
      PIN(game_start_field::kBlackInitialTime, 8),
      PIN(game_start_field::kBlackIncrement, 9),
      PIN(game_start_field::kUserPlays, 10),
      PIN(game_start_field::kWhiteRating, 12),
      PIN(game_start_field::kBlackRating, 13),
      PIN(game_start_field::kGameKey, 14),
      PIN(game_start_field::kWhiteTitles, 15),
      PIN(game_start_field::kBlackTitles, 16),
      PIN(kGameResultDatagram, 16),
      PIN(game_result_field::kGameNumber, 0),
      PIN(game_result_field::kResult, 3),
      PIN(kMatchOfferDatagram, 29),
      PIN(match_field::kPlayer, 0),
      PIN(match_field::kOtherPlayer, 4),
      PIN(match_field::kVariantNumber, 8),
      PIN(match_field::kRatingTypeName, 9),
      PIN(kActivityDatagram, 62),
      PIN(kUnusedServerDatagram, 76),
      PIN(kRatingsDatagram, 87),
      PIN(ratings_field::kBlitz, 1),
      PIN(ratings_field::kStandard, 2),
      PIN(ratings_field::kBullet, 3),
      PIN(ratings_field::kFiveMinute, 7),
      PIN(ratings_field::kOneMinute, 8),
      PIN(ratings_field::kFifteenMinute, 10),
  };
  for (const Pin& pin : kPins) EXPECT_EQ(pin.value, pin.number) << pin.name;
  EXPECT_STREQ(game_start_field::kUserPlaysYes, "1");
}

}  // namespace
}  // namespace tessik
