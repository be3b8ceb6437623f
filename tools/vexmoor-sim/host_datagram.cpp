#include "host_datagram.h"

#include "host/host_message.h"

namespace vexmoor {

std::vector<unsigned char> EncodeDatagram(uint16_t source, uint16_t number,
                                          const std::vector<std::string>& fields) {
  std::vector<unsigned char> payload(tessik::kDatagramHeaderBytes, 0);
  payload[0] = static_cast<unsigned char>(source);
  payload[1] = static_cast<unsigned char>(source >> 8);
  payload[2] = static_cast<unsigned char>(number);
  payload[3] = static_cast<unsigned char>(number >> 8);
  payload[8] = static_cast<unsigned char>(fields.size());
  payload[9] = static_cast<unsigned char>(fields.size() >> 8);
  for (const std::string& field : fields) {
    payload.insert(payload.end(), field.begin(), field.end());
    payload.push_back('\0');
  }
  return payload;
}

bool SendHostMessage(tessik::CIpcPipe& pipe, int16_t type,
                     const std::vector<unsigned char>& payload) {
  if (payload.size() > tessik::kMaxPayloadBytes) return false;
  std::vector<unsigned char> bytes = tessik::FrameMessage(type, payload.data(), payload.size());
  return pipe.WriteIPC(bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace vexmoor
