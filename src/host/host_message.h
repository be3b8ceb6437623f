// Framed messages on a pipe: a 4-byte little-endian header (type, signed 16-bit length) and
// the payload.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ipc_pipe.h"
#include "host/protocol.h"

namespace tessik {

struct Datagram {
  uint16_t source = 0;  // kHostEventSource, or any other value for the server
  uint16_t number = 0;
  unsigned char unused[4] = {};
  int16_t fieldCount = 0;
  std::vector<std::string> fields;  // the fields the payload actually holds

  // Field i, or an empty text when the datagram has fewer fields.
  const std::string& Field(size_t i) const;
};

enum class PayloadKind {
  None,      // kMsgConnectionEnded
  Block,     // texts and byte blocks
  Value,     // 16-bit values
  Datagram,  // kMsgDatagram
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
