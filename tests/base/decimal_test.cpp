#include "base/decimal.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

TEST(ParseDecimal, LeadingDigitsAfterSpaceAndSign) {
  EXPECT_EQ(ParseDecimal("1500"), 1500);
  EXPECT_EQ(ParseDecimal("  \t-12x"), -12);
  EXPECT_EQ(ParseDecimal("+7 8"), 7);
  EXPECT_EQ(ParseDecimal("2x"), 2);
}

TEST(ParseDecimal, NoDigitsGiveZero) {
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("abc"), 0);
  EXPECT_EQ(ParseDecimal("- 5"), 0);
  EXPECT_EQ(ParseDecimal("----"), 0);
}

TEST(ParseDecimal, HugeValuesStopAtTheLimits) {
  EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimal("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseDecimal("-99999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace tessik
