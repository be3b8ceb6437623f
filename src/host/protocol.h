// The protocol between the host and the plug-in, named once: the message types, the datagram
// numbers by what they mean, and the positions of the fields the plug-in reads. Both the plug-in
// and the substitute host (vexmoor-sim) speak through these names; a number of the protocol is
// written nowhere else.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessik {

// The type in a message's header. Types the plug-in neither sends nor acts on are still decoded
// by the form of their payload, so that the stream stays in step.
enum HostMessageType : int16_t {
  // Plug-in to host.
  kMsgPluginName = 1,         // text: name and version, in the greeting
  kMsgServerCommand = 2,      // text: a command for the host to send to the server
  kMsgConsoleLine = 3,        // text: a line for the host's console
  kMsgHello = 4,              // value kHelloValue, in the greeting
  kMsgWantDatagram = 5,       // value: forward datagrams of kHostEventSource with this number
  kMsgWantOtherDatagram = 6,  // value: forward datagrams of other sources with this number
  kMsgDropOtherDatagram = 8,  // value: a number asked for with type 6 is no longer wanted
  // Not used by the plug-in.
  kMsgUnusedValueFirst = 7,    // type 7: a 16-bit value
  kMsgUnusedBlock = 9,         // type 9: bytes
  kMsgUnusedValueSecond = 10,  // type 10: a 16-bit value
  kMsgUnusedValueThird = 11,   // type 11: a 16-bit value
  // Host to plug-in.
  kMsgHostBlockFirst = 1000,   // type 1000: bytes, read and ignored
  kMsgDatagram = 1001,         // a forwarded datagram, below
  kMsgHostBlockSecond = 1002,  // type 1002: bytes, read and ignored
  kMsgConnectionEnded = 1003,  // no payload: the host's connection to the server has ended
  kMsgHostBlockThird = 1004,   // type 1004: bytes, read and ignored
};

inline constexpr uint16_t kHelloValue = 1;
inline constexpr size_t kValuePayloadBytes = 2;  // the payload of every value type

// A message: its type, its length (signed 16-bit) and the payload.
inline constexpr size_t kMessageTypeAt = 0;
inline constexpr size_t kMessageLengthAt = 2;
inline constexpr int kMessageHeaderBytes = 4;
inline constexpr int kMaxPayloadBytes = 32767;

// The host announces its two pipes by id: an odd id is the plug-in's input (the host writes
// it), the even id after it the plug-in's output.
inline constexpr bool IsInputPipeId(int32_t pipeId) { return pipeId % 2 == 1; }

// A datagram's payload: source, number, 4 unused bytes, the field count (signed), then the
// fields, NUL-terminated texts numbered from 0.
inline constexpr size_t kDatagramSourceAt = 0;
inline constexpr size_t kDatagramNumberAt = 2;
inline constexpr size_t kDatagramUnusedAt = 4;
inline constexpr size_t kDatagramFieldCountAt = 8;
inline constexpr int kDatagramHeaderBytes = 10;

// Source 1 carries the host's own events: its connection closing, and the answers to the
// user's finger and assess commands. Every other source carries the server's datagrams.
inline constexpr uint16_t kHostEventSource = 1;

// Numbers of kHostEventSource, asked for with kMsgWantDatagram.
enum HostEventDatagram : uint16_t {
  kConnectionClosing = 16,  // no fields: the session ends, as with kMsgConnectionEnded
  kFingerAnswer = 130,      // answer_field
  kAssessAnswer = 135,      // answer_field
};

// Numbers of the server's datagrams, asked for with kMsgWantOtherDatagram.
enum ServerDatagram : uint16_t {
  kLoginDatagram = 0,          // login_field
  kGameStartDatagram = 15,     // game_start_field
  kGameResultDatagram = 16,    // game_result_field
  kMatchOfferDatagram = 29,    // match_field
  kActivityDatagram = 62,      // no fields: the connection is in use (idle prevention)
  kUnusedServerDatagram = 76,  // asked for in the greeting, never acted on
  kRatingsDatagram = 87,       // ratings_field: asked for while an import waits for it
};

// The positions of the fields the plug-in reads, by datagram. A field the datagram does not
// hold reads as an empty text.
namespace answer_field {
inline constexpr size_t kText = 0;  // finger: "Finger of bob(GM):"; assess: "name1 name2\r..."
}  // namespace answer_field

namespace login_field {
inline constexpr size_t kHandle = 0;
}  // namespace login_field

namespace match_field {
inline constexpr size_t kPlayer = 0;  // one of the two players, the user or the opponent
inline constexpr size_t kOtherPlayer = 4;
inline constexpr size_t kVariantNumber = 8;
inline constexpr size_t kRatingTypeName = 9;
}  // namespace match_field

namespace game_start_field {
inline constexpr size_t kGameNumber = 0;
inline constexpr size_t kWhite = 1;
inline constexpr size_t kBlack = 2;
inline constexpr size_t kVariantNumber = 3;
inline constexpr size_t kRatingTypeName = 4;
inline constexpr size_t kRated = 5;
inline constexpr size_t kWhiteInitialTime = 6;
inline constexpr size_t kWhiteIncrement = 7;
inline constexpr size_t kBlackInitialTime = 8;
inline constexpr size_t kBlackIncrement = 9;
inline constexpr size_t kUserPlays = 10;  // kUserPlaysYes when the user plays this game
inline constexpr size_t kWhiteRating = 12;
inline constexpr size_t kBlackRating = 13;
inline constexpr size_t kGameKey = 14;
inline constexpr size_t kWhiteTitles = 15;
inline constexpr size_t kBlackTitles = 16;
inline constexpr const char* kUserPlaysYes = "1";
}  // namespace game_start_field

namespace game_result_field {
inline constexpr size_t kGameNumber = 0;
inline constexpr size_t kResult = 3;  // "1-0", "1/2-1/2", "0-1", or anything else
}  // namespace game_result_field

namespace ratings_field {
inline constexpr size_t kBlitz = 1;
inline constexpr size_t kStandard = 2;
inline constexpr size_t kBullet = 3;
inline constexpr size_t kFiveMinute = 7;
inline constexpr size_t kOneMinute = 8;
inline constexpr size_t kFifteenMinute = 10;
}  // namespace ratings_field

}  // namespace tessik
