// The performance rating's difference for a score, as FIDE's Rating Regulations give it.
#include <gtest/gtest.h>

#include <utility>

#include "stats/head_to_head.h"

namespace tessik {
namespace {

// Table 8.1.a, entry by entry: the score in whole percent, from 100 down to 50, and its rating
// difference; below 50 the difference of the score's complement, negated.
TEST(Performance, RatingDifferencesAreFidesTable81a) {
  const std::pair<int, int> kTable[] = {
      {100, 800}, {99, 677}, {98, 589}, {97, 538}, {96, 501}, {95, 470}, {94, 444}, {93, 422},
      {92, 401},  {91, 383}, {90, 366}, {89, 351}, {88, 336}, {87, 322}, {86, 309}, {85, 296},
      {84, 284},  {83, 273}, {82, 262}, {81, 251}, {80, 240}, {79, 230}, {78, 220}, {77, 211},
      {76, 202},  {75, 193}, {74, 184}, {73, 175}, {72, 166}, {71, 158}, {70, 149}, {69, 141},
      {68, 133},  {67, 125}, {66, 117}, {65, 110}, {64, 102}, {63, 95},  {62, 87},  {61, 80},
      {60, 72},   {59, 65},  {58, 57},  {57, 50},  {56, 43},  {55, 36},  {54, 29},  {53, 21},
      {52, 14},   {51, 7},   {50, 0}};
  for (const auto& [percent, difference] : kTable) {
    EXPECT_EQ(FideRatingDifference(percent), difference) << percent;
    EXPECT_EQ(FideRatingDifference(100 - percent), -difference) << 100 - percent;
  }
}

}  // namespace
}  // namespace tessik
