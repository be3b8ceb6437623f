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

struct ByHand {
  std::string output;
  int status = -1;
};

// Runs command in directory; its standard output and error, and its exit status.
ByHand RunIn(const std::string& directory, const std::string& command) {
  ByHand run;
  FILE* out = popen(("cd " + directory + " && " + command + " 2>&1").c_str(), "r");
  char buffer[512];
  while (out != nullptr && std::fgets(buffer, sizeof buffer, out) != nullptr) run.output += buffer;
  if (out != nullptr) run.status = pclose(out);
  return run;
}

const char kWhatThisIs[] =
    "tessik: the Tessik game statistics plug-in of the Vexmoor chess client; Vexmoor starts it "
    "and talks to it (to try it without Vexmoor, run it under vexmoor-sim).\n";

TEST(StartedByHand, SaysWhatItIsAndLeavesNothingBehind) {
  TempDirectory directory;
  const std::string plugin = TESSIK_PLUGIN;
  struct Case {
    const char* what;
    std::string command;
    std::string output;
    int exitCode;  // -1: stopped from outside, whatever it then returns
  };
  const Case cases[] = {
      {"without a display", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + plugin,
       std::string(kWhatThisIs) + "It needs a display, and none is set (DISPLAY).\n", 1},
      // From a terminal (script gives it one) it runs, waiting for a host, until it is stopped.
      {"from a terminal",
       "QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*=false' script -qec 'timeout -s INT 1 " +
           plugin + "' /dev/null | tr -d '\\r'",
       kWhatThisIs, -1},
  };
  for (const Case& c : cases) {
    ByHand run = RunIn(directory.path(), c.command);
    EXPECT_EQ(run.output, c.output) << c.what;
    if (c.exitCode >= 0) {
      EXPECT_TRUE(WIFEXITED(run.status)) << c.what;
      EXPECT_EQ(WEXITSTATUS(run.status), c.exitCode) << c.what;
    }
    EXPECT_TRUE(std::filesystem::is_empty(directory.path())) << c.what;
  }
}

}  // namespace
}  // namespace tessik
