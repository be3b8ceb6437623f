// How tessik-stats lays out plain text: columns, and numbers with one decimal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessik {

using TableRow = std::vector<std::string>;

// The rows as lines, columns two spaces apart, without trailing blanks. alignment has one letter
// per column, 'l' or 'r'; columns beyond it are aligned left.
std::string AlignedTable(const std::vector<TableRow>& rows, std::string_view alignment = "");

// value with one decimal ("2.5"); withSign: always with its sign ("+0.5", "-1.0"), and a value
// that rounds to nothing as "+0.0".
std::string OneDecimal(double value, bool withSign = false);

}  // namespace tessik
