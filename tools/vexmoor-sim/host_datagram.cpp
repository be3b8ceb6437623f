#include "host_datagram.h"

#include "base/little_endian.h"
#include "host/host_message.h"

namespace vexmoor {

std::vector<unsigned char> EncodeDatagram(uint16_t source, uint16_t number,
                                          const std::vector<std::string>& fields) {
  std::vector<unsigned char> payload(tessik::kDatagramHeaderBytes, 0);
  tessik::PutLittleEndian<uint16_t>(&payload[tessik::kDatagramSourceAt], source);
  tessik::PutLittleEndian<uint16_t>(&payload[tessik::kDatagramNumberAt], number);
  tessik::PutLittleEndian<uint16_t>(&payload[tessik::kDatagramFieldCountAt],
                                    static_cast<uint16_t>(fields.size()));
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
