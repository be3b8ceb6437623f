#include "message_line.h"

namespace vexmoor {

std::string FormatMessageLine(const tessik::HostMessage& message) {
  std::string line = std::to_string(message.type);
  if (message.kind == tessik::PayloadKind::Value) {
    return line + " " + std::to_string(message.value);
  }
  if (message.kind != tessik::PayloadKind::Block) return line;
  line += ' ';
  size_t length = message.block.size();
  if (length > 0 && message.block[length - 1] == '\0') --length;
  for (size_t i = 0; i < length; ++i) {
    char c = static_cast<char>(message.block[i]);
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace vexmoor
