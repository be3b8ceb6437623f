#include "host/host_message.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/little_endian.h"

namespace tessik {

namespace {

bool IsValueType(int16_t type) {
  return (type >= kMsgHello && type <= kMsgDropOtherDatagram) || type == kMsgUnusedValueSecond ||
         type == kMsgUnusedValueThird;
}

bool IsBlockType(int16_t type) {
  return (type >= kMsgPluginName && type <= kMsgConsoleLine) || type == kMsgUnusedBlock ||
         type == kMsgHostBlockFirst || type == kMsgHostBlockSecond || type == kMsgHostBlockThird;
}

// Up to length bytes of payload: fewer when the writer sent fewer.
std::vector<unsigned char> ReadPayload(CIpcPipe& pipe, int length) {
  std::vector<unsigned char> payload(static_cast<size_t>(length));
  int got = length == 0 ? 0 : pipe.ReadIPC(payload.data(), length);
  payload.resize(static_cast<size_t>(std::max(got, 0)));
  return payload;
}

void DiscardWaitingBytes(CIpcPipe& pipe) {
  // Not zeroed: a ring's size, of which only the bytes waiting are written.
  const auto scratch =
      std::make_unique_for_overwrite<unsigned char[]>(static_cast<size_t>(pipe.dataSize));
  pipe.ReadIPC(scratch.get(), -1);
}

}  // namespace

const std::string& Datagram::Field(size_t i) const {
  static const std::string empty;
  return i < fields.size() ? fields[i] : empty;
}

Datagram DecodeDatagram(const std::vector<unsigned char>& payload) {
  Datagram datagram;
  unsigned char head[kDatagramHeaderBytes] = {};
  if (!payload.empty()) std::memcpy(head, payload.data(), std::min(payload.size(), sizeof head));
  datagram.source = GetLittleEndian<uint16_t>(head + kDatagramSourceAt);
  datagram.number = GetLittleEndian<uint16_t>(head + kDatagramNumberAt);
  std::memcpy(datagram.unused, head + kDatagramUnusedAt, sizeof datagram.unused);
  datagram.fieldCount =
      static_cast<int16_t>(GetLittleEndian<uint16_t>(head + kDatagramFieldCountAt));
  size_t offset = kDatagramHeaderBytes;
  for (int i = 0; i < datagram.fieldCount && offset < payload.size(); ++i) {
    auto begin = payload.begin() + static_cast<ptrdiff_t>(offset);
    auto end = std::find(begin, payload.end(), '\0');
    datagram.fields.emplace_back(begin, end);
    offset = static_cast<size_t>(end - payload.begin()) + 1;
  }
  return datagram;
}

std::optional<HostMessage> ReceiveIPCMessage(CIpcPipe& pipe) {
  unsigned char header[kMessageHeaderBytes];
  if (pipe.ReadIPC(header, kMessageHeaderBytes) != kMessageHeaderBytes) return std::nullopt;
  HostMessage message;
  message.type = static_cast<int16_t>(GetLittleEndian<uint16_t>(header + kMessageTypeAt));
  message.length = GetLittleEndian<uint16_t>(header + kMessageLengthAt);
  auto length = static_cast<int16_t>(message.length);
  if (length < 0) {
    DiscardWaitingBytes(pipe);
    message.kind = PayloadKind::Skipped;
    return message;
  }
  std::vector<unsigned char> payload = ReadPayload(pipe, length);
  if (message.type == kMsgDatagram) {
    message.kind = PayloadKind::Datagram;
    message.datagram = DecodeDatagram(payload);
  } else if (message.type == kMsgConnectionEnded) {
    message.kind = PayloadKind::None;
  } else if (IsValueType(message.type) && payload.size() == kValuePayloadBytes) {
    message.kind = PayloadKind::Value;
    message.value = GetLittleEndian<uint16_t>(payload.data());
  } else if (IsBlockType(message.type)) {
    message.kind = PayloadKind::Block;
    message.block = std::move(payload);
  } else {
    message.kind = PayloadKind::Skipped;
  }
  return message;
}

std::vector<unsigned char> FrameMessage(int16_t type, const void* payload, size_t length) {
  std::vector<unsigned char> bytes(kMessageHeaderBytes + length);
  PutLittleEndian<uint16_t>(bytes.data() + kMessageTypeAt, static_cast<uint16_t>(type));
  PutLittleEndian<uint16_t>(bytes.data() + kMessageLengthAt, static_cast<uint16_t>(length));
  if (length > 0) std::memcpy(bytes.data() + kMessageHeaderBytes, payload, length);
  return bytes;
}

bool SendIPCText(CIpcPipe& pipe, int16_t type, std::string_view text) {
  if (text.size() + 1 > kMaxPayloadBytes) return false;
  std::string payload(text);
  std::vector<unsigned char> bytes = FrameMessage(type, payload.c_str(), payload.size() + 1);
  return pipe.WriteIPC(bytes.data(), static_cast<int>(bytes.size()));
}

bool SendIPCValue(CIpcPipe& pipe, int16_t type, uint16_t value) {
  unsigned char payload[kValuePayloadBytes];
  PutLittleEndian<uint16_t>(payload, value);
  std::vector<unsigned char> bytes = FrameMessage(type, payload, sizeof payload);
  return pipe.WriteIPC(bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace tessik
