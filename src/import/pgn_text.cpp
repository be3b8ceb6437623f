#include "import/pgn_text.h"

namespace tessik {

bool ParseTagLine(std::string_view line, std::string_view& name, std::string_view& value) {
  if (line.empty() || line.front() != '[' || line.back() != ']') return false;
  size_t blank = line.find(' ');
  name = line.substr(1, blank == std::string_view::npos ? std::string_view::npos : blank - 1);
  size_t first = line.find('"');
  size_t last = line.rfind('"');
  value = first == last ? std::string_view() : line.substr(first + 1, last - first - 1);
  return true;
}

bool NextToken(std::string_view text, size_t& position, char delimiter, std::string_view& token) {
  if (position >= text.size()) {
    token = {};
    return false;
  }
  size_t end = text.find(delimiter, position);
  if (end == std::string_view::npos) end = text.size();
  token = text.substr(position, end - position);
  position = end + 1;
  return true;
}

}  // namespace tessik
