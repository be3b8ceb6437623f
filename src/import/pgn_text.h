// The small text tools of the PGN reader.
#pragma once

#include <string_view>

namespace tessik {

// A tag line: not empty, "[" first and "]" last. name: from the second character to the first
// blank; value: between the first and the last double quote (empty with fewer than two).
bool ParseTagLine(std::string_view line, std::string_view& name, std::string_view& value);

// The text from position up to the next delimiter (or the end); position moves past the
// delimiter. False, with an empty token, when position is at or past the end.
bool NextToken(std::string_view text, size_t& position, char delimiter, std::string_view& token);

}  // namespace tessik
