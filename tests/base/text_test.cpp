#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/decimal.h"

namespace tessik {
namespace {

TEST(ParseDecimal, LeadingDigitsAfterBlanksAndSignClampedToThirtyTwoBits) {
  const std::pair<const char*, int32_t> kCases[] = {
      {"1500", 1500},          {" \t-12x", -12},         {"+7 8", 7}, {"- 5", 0}, {"", 0},
      {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
  };
  for (auto [text, value] : kCases) EXPECT_EQ(ParseDecimal(text), value) << text;
}

TEST(CaseFolding, OnlyAToZFoldThenBytesCompareUnsigned) {
  // a, b, the sign of a - b
  const std::tuple<const char*, const char*, int> kCases[] = {
      {"Bob", "bOB", 0}, {"b", "a", 1},        {"a", "B", -1},    {"[", "A", -1},
      {"\xE9", "z", 1},  {"\xC9", "\xE9", -1}, {"ab", "ABC", -1}, {"abc", "AB", 1},
  };
  for (auto [a, b, sign] : kCases) {
    EXPECT_EQ((CompareNoCase(a, b) > 0) - (CompareNoCase(a, b) < 0), sign) << a << " " << b;
    EXPECT_EQ(EqualsNoCase(a, b), sign == 0) << a << " " << b;
  }
  EXPECT_EQ(FoldedCase("MiXed-Z_\xC9@["), "mixed-z_\xC9@[");
  EXPECT_TRUE(StartsWithNoCase("GuestXY", "gUEST"));
  // Eight bytes at once fold as each alone: every byte, in every place, beside the bytes around
  // the letters' edges.
  const unsigned char kNeighbours[] = {'@', 'A', 'Z', '[', '`', 0x7F, 0xC1, 0xFF};
  for (int byte = 0; byte < 256; ++byte) {
    for (int place = 0; place < 8; ++place) {
      uint64_t word = 0, folded = 0;
      for (int i = 0; i < 8; ++i) {
        const unsigned char c = i == place ? static_cast<unsigned char>(byte) : kNeighbours[i];
        word |= uint64_t{c} << (8 * i);
        folded |= uint64_t{static_cast<unsigned char>(FoldCase(static_cast<char>(c)))} << (8 * i);
      }
      EXPECT_EQ(FoldedCaseWord(word), folded) << byte << " in place " << place;
    }
  }
}

}  // namespace
}  // namespace tessik
