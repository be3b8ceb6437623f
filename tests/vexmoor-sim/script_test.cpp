#include "script.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vexmoor {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> words;
  std::string error;
  EXPECT_TRUE(SplitScriptLine(line, words, error)) << error;
  return words;
}

TEST(ScriptLine, QuotesGroupWordsAndKnowFourEscapes) {
  EXPECT_EQ(Split("dg 2 0 alice"), (std::vector<std::string>{"dg", "2", "0", "alice"}));
  EXPECT_EQ(Split(R"(dg 1 135 "bob alice\r\nx" "" "a\"b\\")"),
            (std::vector<std::string>{"dg", "1", "135", "bob alice\r\nx", "", "a\"b\\"}));
  EXPECT_EQ(Split(R"(pre"mid dle"post)"), (std::vector<std::string>{"premid dlepost"}));
}

TEST(ScriptLine, HashOutsideQuotesStartsAComment) {
  EXPECT_EQ(Split("  # a whole comment"), std::vector<std::string>{});
  EXPECT_EQ(Split(R"(vx2 ann "/a#b.pgn" # note)"),
            (std::vector<std::string>{"vx2", "ann", "/a#b.pgn"}));
}

TEST(ScriptLine, FaultsAreNamed) {
  std::vector<std::string> words;
  std::string error;
  EXPECT_FALSE(SplitScriptLine(R"(dg 2 0 "open)", words, error));
  EXPECT_EQ(error, "a quote is not closed");
  EXPECT_FALSE(SplitScriptLine(R"(dg 2 0 "\t")", words, error));
  EXPECT_NE(error.find("unknown escape"), std::string::npos);
}

TEST(ReadScript, EventsKeepTheirLineNumbers) {
  std::istringstream in("# session\r\ndg 2 0 ann\r\n\nsync\npause 20\nend\n");
  Script script = ReadScript(in);
  ASSERT_EQ(script.error, "");
  ASSERT_EQ(script.events.size(), 4u);
  EXPECT_EQ(script.events[0].line, 2);
  EXPECT_EQ(script.events[0].args, (std::vector<std::string>{"2", "0", "ann"}));
  EXPECT_EQ(script.events[3].verb, "end");
}

TEST(ReadScript, BadEventsStopTheScriptWithTheirLine) {
  for (auto [text, error] : {
           std::pair{"dg 2\n", "line 1: usage: dg SOURCE NUMBER [FIELD ...]"},
           {"sync\ndg 70000 0\n", "line 2: SOURCE and NUMBER are whole numbers from 0 to 65535"},
           {"dg -1 0\n", "line 1: SOURCE and NUMBER are whole numbers from 0 to 65535"},
           {"pause soon\n", "line 1: MS is a whole number of milliseconds up to 3600000"},
           {"end now\n", "line 1: usage: end"},
           {"\n\nlogon ann\n", "line 3: unknown verb \"logon\""},
           {"file ../x y\n", "line 1: NAME is a file name inside the working directory"},
           {"waitfor /tmp/x\n", "line 1: NAME is a file name inside the working directory"},
       }) {
    std::istringstream in(text);
    EXPECT_EQ(ReadScript(in).error, error) << text;
  }
}

}  // namespace
}  // namespace vexmoor
