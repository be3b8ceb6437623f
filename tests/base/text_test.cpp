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
}

}  // namespace
}  // namespace tessik
