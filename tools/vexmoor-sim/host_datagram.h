// Messages the host writes to the plug-in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/ipc_pipe.h"

namespace vexmoor {

// The payload of a kMsgDatagram message: source, number, 4 unused bytes, field count, fields.
std::vector<unsigned char> EncodeDatagram(uint16_t source, uint16_t number,
                                          const std::vector<std::string>& fields);

// A whole framed message of the given type; false when the payload cannot be framed or the
// ring has no room.
bool SendHostMessage(tessik::CIpcPipe& pipe, int16_t type,
                     const std::vector<unsigned char>& payload);

}  // namespace vexmoor
