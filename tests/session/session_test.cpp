#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "session/plugin_app.h"
#include "support/fake_main_window.h"

namespace tessik {
namespace {

TEST(Directories, WorkingDirectoryEndsInASlash) {
  CPluginApp app;
  SetDirectories(app, "/home/ann/games");
  EXPECT_EQ(app.workingDirectory, "/home/ann/games/");
  EXPECT_EQ(app.dataDirectory, "/home/ann/games/tessik/");
  SetDirectories(app, "/");
  EXPECT_EQ(app.workingDirectory, "/");
  EXPECT_EQ(app.dataDirectory, "/tessik/");
  SetDirectories(app, "");
  EXPECT_EQ(app.dataDirectory, "tessik/");
}

TEST(StartApplication, FixesTheDirectoriesAndRunsTheWindowOnce) {
  std::filesystem::path before = std::filesystem::current_path();
  char pattern[] = "/tmp/tessik-start.XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  ASSERT_EQ(chdir(pattern), 0);
  CPluginApp app;
  app.idleMinutes = 40;
  int runs = 0;
  EXPECT_FALSE(app.StartApplication([&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(app.dataDirectory, std::string(pattern) + "/tessik/");
  EXPECT_EQ(app.idleMinutes, 0);
  std::filesystem::current_path(before);
  std::filesystem::remove_all(pattern);
}

class OutputTest : public ::testing::Test {
 protected:
  void SetUp() override { app.mainWindow = &window; }
  FakeMainWindow window;
  CPluginApp app;
};

TEST_F(OutputTest, FirstLineHasNoBreakAndEmptyLinesWaitForText) {
  AppendOutputLine(app, "");
  EXPECT_EQ(window.text, "");
  AppendOutputLine(app, "one");
  AppendOutputLine(app, "");
  AppendOutputLine(app, "two");
  EXPECT_EQ(window.text, "one\r\n\r\ntwo");
}

TEST_F(OutputTest, TipsIntoAnEmptyBoxStartWithTheFirstTip) {
  app.PrintTips();
  EXPECT_EQ(window.text,
            "- By default all the options that make the plugin show more details are turned off "
            "so you won't get spammed by information you may not want. Look at the options menu "
            "and turn on what you like\r\n\r\n"
            "- If you don't want to see the plugin window all the time, minimize it. It will go "
            "to the System tray then and remember it for the next start");
  window.text = "Hello ann";
  app.PrintTips();
  EXPECT_EQ(window.text.substr(0, 17), "Hello ann\r\n\r\n- By");
}

}  // namespace
}  // namespace tessik
