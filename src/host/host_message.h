// Framed messages on a pipe: a 4-byte little-endian header (type, signed 16-bit length) and
// the payload.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ipc_pipe.h"

namespace tessik {

enum HostMessageType : int16_t {
  kMsgPluginName = 1,         // text: name and version, in the greeting
  kMsgServerCommand = 2,      // text: a command for the host to send to the server
  kMsgConsoleLine = 3,        // text: a line for the host's console
  kMsgHello = 4,              // value 1, in the greeting
  kMsgWantDatagram = 5,       // value: forward datagrams of source 1 with this number
  kMsgWantOtherDatagram = 6,  // value: forward datagrams of other sources with this number
  kMsgValue7 = 7,
  kMsgDropOtherDatagram = 8,  // value: a number asked for with type 6 is no longer wanted
  kMsgBlock9 = 9,
  kMsgValue10 = 10,
  kMsgValue11 = 11,
  kMsgHostBlock1000 = 1000,
  kMsgDatagram = 1001,  // a forwarded server datagram
  kMsgHostBlock1002 = 1002,
  kMsgConnectionEnded = 1003,
  kMsgHostBlock1004 = 1004,
};

inline constexpr int kMessageHeaderBytes = 4;
inline constexpr int kMaxPayloadBytes = 32767;
inline constexpr int kDatagramHeaderBytes = 10;

struct Datagram {
  uint16_t source = 0;  // 1 selects table A, any other value table B
  uint16_t number = 0;
  unsigned char unused[4] = {};
  int16_t fieldCount = 0;
  std::vector<std::string> fields;  // the fields the payload actually holds

  // Field i, or an empty text when the datagram has fewer fields.
  const std::string& Field(size_t i) const;
};

enum class PayloadKind {
  None,      // type 1003
  Block,     // texts and byte blocks
  Value,     // 16-bit values
  Datagram,  // type 1001
  Skipped,   // unknown type, or a value message whose length is not 2: payload passed over
};

struct HostMessage {
  int16_t type = 0;
  uint16_t length = 0;
  PayloadKind kind = PayloadKind::None;
  std::vector<unsigned char> block;
  uint16_t value = 0;
  Datagram datagram;
};

// Reads one message; nothing when the pipe is empty or its header cannot be read. A payload
// that is not decoded is passed over by its length so that the stream stays in step; a
// header with a negative length cannot be followed and the bytes waiting are discarded.
std::optional<HostMessage> ReceiveIPCMessage(CIpcPipe& pipe);

// Decodes a datagram payload; never reads beyond the bytes given.
Datagram DecodeDatagram(const std::vector<unsigned char>& payload);

// Header and payload as one block, ready for a single write.
std::vector<unsigned char> FrameMessage(int16_t type, const void* payload, size_t length);

// A text message: the text and its NUL. Nobody checks the result: a message that does not
// fit is lost.
bool SendIPCText(CIpcPipe& pipe, int16_t type, std::string_view text);
// A value message: type, length 2, the 16-bit value.
bool SendIPCValue(CIpcPipe& pipe, int16_t type, uint16_t value);

}  // namespace tessik
