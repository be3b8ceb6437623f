// The settings file's lines as they are read and written back.
#include "session/settings.h"

#include <gtest/gtest.h>

namespace tessik {
namespace {

TEST(SettingsLine, ChangesOnlyTheSettingItsExactKeyNames) {
  struct Case {
    const char* line;
    const char* wantLine;  // the setting's line in the file written afterwards
  };
  const Case cases[] = {
      {"show expected score=1", "show expected score=1\n"},
      {"show expected score =1", "show expected score=0\n"},  // keys match exactly
      {"Show Expected Score=1", "show expected score=0\n"},
      {"; show expected score=1", "show expected score=0\n"},
      {"prevent idle text= away for tea = back soon",
       "prevent idle text= away for tea = back soon\n"},
      {"prevent idle method=2x", "prevent idle method=2\n"},
      {"prevent idle method=-7", "prevent idle method=-7\n"},
      {"Show Stats in Plugin=257", "Show Stats in Plugin=1\n"},  // a byte of what was written
      {"Show Stats in Plugin=255", "Show Stats in Plugin=4294967295\n"},  // written unsigned
      {"silent if no games=255", "silent if no games=-1\n"},              // written signed
      {"prevent idle disconnection=2", "prevent idle disconnection=2\n"},
      {"start minimized=garbled", "start minimized=0\n"},
      {"minimize to systray=0", "minimize to systray=0\n"},
      {"close with connection=0", "close with connection=0\n"},
      {"MatchEtcDisplayRtype_bw=1", "MatchEtcDisplayRtype_bw=1\n"},
      {"FingerAssessDisplayAll=0", "FingerAssessDisplayAll=0\n"},
  };
  const std::string defaults = FormatSettingsFile(Settings{});
  for (const Case& c : cases) {
    Settings target;
    ApplySettingsLine(target, c.line);
    // The defaults with the one line of the setting changed.
    const std::string want = c.wantLine;
    std::string expected = defaults;
    size_t line = expected.find("\n" + want.substr(0, want.find('=') + 1)) + 1;
    expected.replace(line, expected.find('\n', line) + 1 - line, want);
    EXPECT_EQ(FormatSettingsFile(target), expected) << c.line;
  }
}

}  // namespace
}  // namespace tessik
