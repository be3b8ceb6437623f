#include "import/pgn_text.h"

namespace tessik {

// Tag lines are short, and their blank and quotes lie near the ends: a plain scan finds them
// sooner than a library search does.
bool ParseTagLine(std::string_view line, std::string_view& name, std::string_view& value) {
  const size_t size = line.size();
  if (size == 0 || line[0] != '[' || line[size - 1] != ']') return false;
  size_t blank = 1;
  while (blank < size && line[blank] != ' ') ++blank;
  name = line.substr(1, blank - 1);
  size_t first = 1;  // line[0] is the bracket
  while (first < size && line[first] != '"') ++first;
  size_t last = size - 1;  // line[size - 1] is the bracket
  while (last > first && line[last] != '"') --last;
  value = last > first ? line.substr(first + 1, last - first - 1) : std::string_view();
  return true;
}

bool NextToken(std::string_view text, size_t& position, char delimiter, std::string_view& token) {
  if (position >= text.size()) {
    token = {};
    return false;
  }
  size_t end = position;
  while (end < text.size() && text[end] != delimiter) ++end;
  token = text.substr(position, end - position);
  position = end + 1;
  return true;
}

}  // namespace tessik
