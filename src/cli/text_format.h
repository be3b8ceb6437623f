// How tessik-stats lays out plain text in columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessik {

using TableRow = std::vector<std::string>;

// The rows as lines, columns two spaces apart, without trailing blanks. alignment has one letter
// per column, 'l' or 'r'; columns beyond it are aligned left.
std::string AlignedTable(const std::vector<TableRow>& rows, std::string_view alignment = "");

// Whether text may be coloured: the standard output is a terminal, and NO_COLOR is not set (or
// is empty).
bool ColourOnOutput();
// A result ('+' won, '=' drawn, '-' lost) as the text shows it: with colour, a win green and a
// loss red.
std::string ResultText(char result, bool colour);

}  // namespace tessik
