// The plug-in started by a person instead of a host: one line says what it is, and it leaves
// nothing behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_directory.h"

namespace tessik {
namespace {

// Runs command in directory: its standard output and error, and its exit status.
std::pair<std::string, int> RunIn(const std::string& directory, const std::string& command) {
  std::string output;
  FILE* out = popen(("cd " + directory + " && " + command + " 2>&1").c_str(), "r");
  char buffer[512];
  while (out != nullptr && std::fgets(buffer, sizeof buffer, out) != nullptr) output += buffer;
  return {output, out == nullptr ? -1 : pclose(out)};
}

const char kWhatThisIs[] =
    "tessik: the Tessik game statistics plug-in of the Vexmoor chess client; Vexmoor starts it "
    "and talks to it (to try it without Vexmoor, run it under vexmoor-sim).\n";

TEST(StartedByHand, SaysWhatItIsAndLeavesNothingBehind) {
  TempDirectory directory;
  const std::string plugin = TESSIK_PLUGIN, what = kWhatThisIs;
  // the command; what it prints; its exit code (-1: stopped from outside, whatever it returns)
  const std::tuple<std::string, std::string, int> kCases[] = {
      {"env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + plugin,
       what + "It needs a display, and none is set (DISPLAY).\n", 1},
      // From a terminal (script gives it one) it runs, waiting for a host, until it is stopped.
      {"QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*=false' script -qec 'timeout -s INT 1 " +
           plugin + "' /dev/null | tr -d '\\r'",
       what, -1},
  };
  for (const auto& [command, output, exitCode] : kCases) {
    auto [printed, status] = RunIn(directory.path(), command);
    EXPECT_EQ(printed, output) << command;
    EXPECT_TRUE(exitCode < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == exitCode)) << command;
    EXPECT_TRUE(std::filesystem::is_empty(directory.path())) << command;
  }
}

}  // namespace
}  // namespace tessik
