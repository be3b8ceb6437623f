#pragma once

#include <string>

#include "host/host_message.h"

namespace vexmoor {

// One message from the plug-in as one printed line: "<type> <payload>", a text without its
// NUL and with line feeds and carriage returns shown as \n and \r, a value in decimal.
std::string FormatMessageLine(const tessik::HostMessage& message);

}  // namespace vexmoor
