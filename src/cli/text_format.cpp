#include "cli/text_format.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace tessik {

std::string AlignedTable(const std::vector<TableRow>& rows, std::string_view alignment) {
  std::vector<size_t> widths;
  for (const TableRow& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  std::string text;
  for (const TableRow& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      const std::string padding(widths[i] - row[i].size(), ' ');
      const bool right = i < alignment.size() && alignment[i] == 'r';
      line += (i == 0 ? "" : "  ") + (right ? padding + row[i] : row[i] + padding);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + "\n";
  }
  return text;
}

bool ColourOnOutput() {
  const char* noColour = std::getenv("NO_COLOR");
  return isatty(STDOUT_FILENO) != 0 && (noColour == nullptr || *noColour == '\0');
}

std::string ResultText(char result, bool colour) {
  if (!colour || result == '=') return std::string(1, result);
  // Green or red, then back to the terminal's own colour.
  return std::string(result == '+' ? "\033[32m" : "\033[31m") + result + "\033[0m";
}

}  // namespace tessik
