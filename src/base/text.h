// The system's one rule for letter case: A to Z are a to z, byte by byte; nothing else changes
// (no locale, no bytes beyond ASCII). Handles, tokens and names of messages all compare this way.
#pragma once

#include <string>
#include <string_view>

namespace tessik {

char FoldCase(char c);
// text with A to Z turned into a to z.
std::string FoldedCase(std::string_view text);

// Compares byte by byte after folding; negative, zero or positive. The shorter text sorts first
// when one begins the other.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace tessik
