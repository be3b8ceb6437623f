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
  size_t lineBytes = 1;
  for (const size_t width : widths) lineBytes += width + 2;
  std::string text;
  text.reserve(rows.size() * lineBytes);  // a ranking of every opponent: 50,000 lines
  for (const TableRow& row : rows) {
    const size_t lineStart = text.size();
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += "  ";
      const size_t padding = widths[i] - row[i].size();
      const bool right = i < alignment.size() && alignment[i] == 'r';
      if (right) text.append(padding, ' ');
      text += row[i];
      if (!right) text.append(padding, ' ');
    }
    while (text.size() > lineStart && text.back() == ' ') text.pop_back();  // none at the end
    text += '\n';
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
