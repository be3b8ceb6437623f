#include "session/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_directory.h"

namespace tessik {
namespace {

const char kDefaultFile[] =
    "[OutputPrefs]\n"
    "silent if no games=0\n"
    "show expected score=0\n"
    "FingerAssessDisplayAll=1\n"
    "FingerAssessDisplayAll_bw=0\n"
    "FingerAssessDisplayRtypes=0\n"
    "FingerAssessDisplayRtypes_bw=0\n"
    "Show Stats in Vexmoor=1\n"
    "Show Stats in Plugin=0\n"
    "MatchEtcDisplayAll=1\n"
    "MatchEtcDisplayAll_bw=0\n"
    "MatchEtcDisplayRtype=0\n"
    "MatchEtcDisplayRtype_bw=0\n"
    "\n"
    "[Behaviour]\n"
    "close with connection=1\n"
    "prevent idle disconnection=0\n"
    "prevent idle method=0\n"
    "prevent idle text=\n"
    "minimize to systray=1\n"
    "start minimized=0\n";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { settings = Settings{}; }
  std::string Dir() const { return directory.path() + "/"; }
  TempDirectory directory;
};

TEST_F(SettingsTest, DefaultFileByteForByte) {
  EXPECT_EQ(FormatSettingsFile(Settings{}), kDefaultFile);
  EXPECT_EQ(SaveSettings(Dir()), kFileNone);
  EXPECT_EQ(ReadFile(Dir() + "tessik.ini"), kDefaultFile);
}

TEST_F(SettingsTest, OneLineChangesOneSetting) {
  WriteFile(Dir() + "tessik.ini", "show expected score=1\n");
  LoadSettings(Dir());
  Settings expected;
  expected.showExpectedScore = 1;
  EXPECT_EQ(FormatSettingsFile(settings), FormatSettingsFile(expected));
}

TEST_F(SettingsTest, KeysMatchExactly) {
  Settings target;
  ApplySettingsLine(target, "show expected score =1");
  ApplySettingsLine(target, "Show Expected Score=1");
  ApplySettingsLine(target, "[Behaviour]");
  ApplySettingsLine(target, "; show expected score=1");
  EXPECT_EQ(FormatSettingsFile(target), kDefaultFile);
}

TEST_F(SettingsTest, ValuesAreParsedAsTheFileWasWritten) {
  Settings target;
  ApplySettingsLine(target, "prevent idle text= away for tea = back soon");
  EXPECT_EQ(target.preventIdleText, " away for tea = back soon");
  ApplySettingsLine(target, "prevent idle method=2x");
  EXPECT_EQ(target.preventIdleMethod, 2);
  ApplySettingsLine(target, "Show Stats in Plugin=257");
  EXPECT_EQ(target.showStatsInPlugin, 1);
  ApplySettingsLine(target, "prevent idle disconnection=2");
  EXPECT_EQ(target.preventIdleDisconnection, 2);  // not exactly 1: idle prevention stays off
  ApplySettingsLine(target, "start minimized=garbled");
  EXPECT_EQ(target.startMinimized, 0);
  ApplySettingsLine(target, "show expected score=1");
  ApplySettingsLine(target, "show expected score=0");
  EXPECT_EQ(target.showExpectedScore, 0);  // the last occurrence wins
}

TEST_F(SettingsTest, FlagsAreWrittenAsSignedOrUnsignedBytes) {
  Settings target;
  target.showStatsInPlugin = 255;
  target.silentIfNoGames = 255;
  std::string file = FormatSettingsFile(target);
  EXPECT_NE(file.find("Show Stats in Plugin=4294967295\n"), std::string::npos);
  EXPECT_NE(file.find("silent if no games=-1\n"), std::string::npos);
}

TEST_F(SettingsTest, WindowsLineEndsReadTheSame) {
  WriteFile(Dir() + "tessik.ini", "prevent idle text=brb\r\nprevent idle method=1\r\n");
  LoadSettings(Dir());
  EXPECT_EQ(settings.preventIdleText, "brb");
  EXPECT_EQ(settings.preventIdleMethod, 1);
}

TEST_F(SettingsTest, MissingFileKeepsWhatIsInMemory) {
  settings.showExpectedScore = 1;
  LoadSettings(Dir());
  EXPECT_EQ(settings.showExpectedScore, 1);
}

TEST_F(SettingsTest, SaveKeepsThePreviousFileAsBackup) {
  WriteFile(Dir() + "tessik.ini", "old\n");
  settings.startMinimized = 1;
  EXPECT_EQ(SaveSettings(Dir()), kFileNone);
  EXPECT_EQ(ReadFile(Dir() + "tessik.ino"), "old\n");
  EXPECT_NE(ReadFile(Dir() + "tessik.ini").find("start minimized=1\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Dir() + "tessik.inn"));
}

}  // namespace
}  // namespace tessik
