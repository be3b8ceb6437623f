#include "base/decimal.h"

#include <algorithm>
#include <limits>

#include "base/text.h"

namespace tessik {

namespace {

// Digits as the C locale has them, whatever locale the process runs in.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int32_t ParseDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), limit);
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace tessik
