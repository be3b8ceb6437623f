// The player a finger or an assess answer names, as the user ann receives them.
#include "host/name_extraction.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

TEST(NameExtraction, FingerAndAssessNameThePlayerWhoIsNotTheUser) {
  const auto finger = ExtractFingerName, assess = ExtractAssessName;
  // the extraction, field 0 of the answer; the name looked up ("" none)
  const std::tuple<decltype(finger), std::string, std::string> kCases[] = {
      {finger, "Finger of bob:", "bob"},                       // the third word, cut at ":"
      {finger, "Finger of bob(GM)(C): On for 3 mins", "bob"},  // at "(", and at a space
      {finger, "Finger of carl", "carl"},
      {finger, " \t\r\nFinger of BOB:", "BOB"},  // leading white space; the letters as they are
      {finger, "bob", "bob"},                    // a single word
      {finger, "Finger of notable:", "notable"},
      {finger, "There is nOt such a player", ""},  // "not" in any letter case
      {finger, "\"Finger of carl\"", ""},          // a quoted answer
      {finger, "Finger of ann:", ""},              // the user
      {finger, "Finger of :", ""},
      {finger, "Finger of (GM):", ""},
      {finger, "", ""},
      {assess, "ann bob\rmore", "bob"},  // the first line only
      {assess, "bob ann\rmore", "bob"},
      {assess, "  ann   carl \r", "carl"},  // white space around the names
      {assess, "bob carl\rmore", ""},       // the user is neither
      {assess, "ANN carl\r", ""},           // the user's name compared exactly
      {assess, "carl ann", ""},             // no line end
      {assess, "\rcarl ann", ""},           // an empty first line
      {assess, "ann\r", ""},
      {assess, "", ""},
  };
  for (const auto& [extract, text, name] : kCases) EXPECT_EQ(extract(text, "ann"), name) << text;
}

}  // namespace
}  // namespace tessik
