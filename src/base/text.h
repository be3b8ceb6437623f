// The system's one rule for letter case: A to Z are a to z, byte by byte; nothing else changes
// (no locale, no bytes beyond ASCII). Handles, tokens and names of messages all compare this way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessik {

char FoldCase(char c);
// text with A to Z turned into a to z.
std::string FoldedCase(std::string_view text);
// Eight bytes at once, each folded as FoldCase folds it: for keys built from a handle's bytes.
constexpr uint64_t FoldedCaseWord(uint64_t bytes) {
  constexpr uint64_t kOnes = 0x0101010101010101u, kHighBits = 0x8080808080808080u;
  // Each byte's low seven bits plus a bias sets its high bit when the byte is at least 'A' (or
  // above 'Z'); the sums stay within their bytes, so no carry crosses into the next.
  const uint64_t low7 = bytes & ~kHighBits;
  const uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
  const uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
  const uint64_t upper = atLeastA & ~aboveZ & ~bytes & kHighBits;  // 'A' to 'Z' and below 0x80
  return bytes | upper >> 2;                                       // 0x80 >> 2: 'a' - 'A'
}

// The white space of the server's texts, the settings and the PGN: space, tab, line feed,
// vertical tab, form feed and carriage return, as the C locale has it.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
constexpr bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Compares byte by byte after folding; negative, zero or positive. The shorter text sorts first
// when one begins the other.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// A count of games as words: "1 game", "57 games".
inline std::string GamesText(long long count) {
  return std::to_string(count) + (count == 1 ? " game" : " games");
}

}  // namespace tessik
