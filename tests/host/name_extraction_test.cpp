#include "host/name_extraction.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

TEST(FingerName, ThirdWordWithoutTitleAndColon) {
  EXPECT_EQ(ExtractFingerName("Finger of bob(GM)(C): On for 3 mins", "alice"), "bob");
  EXPECT_EQ(ExtractFingerName(" \t\r\nFinger of carl:", "alice"), "carl");
  EXPECT_EQ(ExtractFingerName("Finger of dora", "alice"), "dora");
}

TEST(FingerName, SingleWordIsTheName) {
  EXPECT_EQ(ExtractFingerName("bob", "alice"), "bob");
  EXPECT_EQ(ExtractFingerName("one two", "alice"), "two");
}

TEST(FingerName, NothingToLookUp) {
  EXPECT_EQ(ExtractFingerName("There is nOt such a player", "alice"), "");
  EXPECT_EQ(ExtractFingerName("Finger of NOT", "alice"), "");
  EXPECT_EQ(ExtractFingerName("\"Finger of bob\"", "alice"), "");
  EXPECT_EQ(ExtractFingerName("Finger of alice(TM):", "alice"), "");
  EXPECT_EQ(ExtractFingerName("Finger of (GM)", "alice"), "");
  EXPECT_EQ(ExtractFingerName("", "alice"), "");
}

TEST(AssessName, TheOtherOfTheTwoPlayers) {
  EXPECT_EQ(ExtractAssessName("bob alice\r\nmore text", "alice"), "bob");
  EXPECT_EQ(ExtractAssessName("  alice   bob \r", "alice"), "bob");
}

TEST(AssessName, NothingUnlessTheUserIsOneOfThem) {
  EXPECT_EQ(ExtractAssessName("bob carl\rmore", "alice"), "");
  EXPECT_EQ(ExtractAssessName("bob alice", "alice"), "");
  EXPECT_EQ(ExtractAssessName("\rbob alice", "alice"), "");
  EXPECT_EQ(ExtractAssessName("alice\r", "alice"), "");
}

}  // namespace
}  // namespace tessik
