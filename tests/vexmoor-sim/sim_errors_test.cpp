// The substitute host's command line and script, on files it cannot use: each failure names the
// file and the system's reason on standard error, and the exit status is 1.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace {

namespace fs = std::filesystem;
using tessik::WriteFile;

TEST(SimErrors, AFileThatCannotBeUsedIsNamedWithTheReason) {
  tessik::TempDirectory dir;
  const std::string notExecutable = dir / "plain-file", notAProgram = dir / "text-file";
  WriteFile(notExecutable, "#!/bin/sh\n");
  chmod(notExecutable.c_str(), 0644);
  WriteFile(notAProgram, "not a program\n");
  chmod(notAProgram.c_str(), 0755);
  const std::string missing = dir / "missing", work = dir / "work";
  // the plug-in, the working directory; the error
  const std::tuple<std::string, std::string, std::string> kCases[] = {
      {missing, work, "cannot start the plug-in " + missing + ": No such file or directory"},
      {notExecutable, work, "cannot start the plug-in " + notExecutable + ": Permission denied"},
      {notAProgram, work, "cannot start the plug-in " + notAProgram + ": Exec format error"},
      {TESSIK_PLUGIN, notExecutable + "/work",
       "cannot make the directory " + notExecutable + "/work: Not a directory"},
  };
  for (const auto& [plugin, directory, error] : kCases) {
    tessik::SimRun run =
        tessik::RunSim(dir.path(), "end\n", {"--plugin", plugin, "--dir", directory});
    EXPECT_EQ(run.errors, "vexmoor-sim: " + error + "\n");
    EXPECT_EQ(run.status, 1) << error;
  }
}

// Names of a script stay inside the working directory: refused when the script is checked, or
// when a link on the way leads out; nothing is written outside.
TEST(SimErrors, NamesThatLeaveTheWorkingDirectoryAreRefusedWithTheirLine) {
  tessik::TempDirectory dir;
  const std::string work = dir / "work", outside = dir / "outside";
  for (const std::string& made : {work, outside, work + "/sub"}) mkdir(made.c_str(), 0700);
  symlink("../outside", (work + "/out").c_str());
  symlink("sub", (work + "/inner").c_str());
  symlink("../outside/target", (work + "/link").c_str());
  const std::string checked = ": line 1: NAME is a file name inside the working directory\n";
  // the line; the error ("" none) and, without one, the file made inside the working directory
  const std::pair<std::string, std::string> kCases[] = {
      {"vx2 ../x a.pgn", "SCRIPT: line 1: USER is a file name inside the working directory\n"},
      {"file /tmp/x y", "SCRIPT" + checked},
      {"file sub/../../x y", "SCRIPT" + checked},
      {"file out/x y", "line 1: cannot write out/x: it leads outside the working directory\n"},
      {"vx2 out/ann a.pgn",
       "line 1: cannot write out/ann.vx2: it leads outside the working directory\n"},
      {"file link y", "line 1: cannot write link: it is a symbolic link\n"},
      {"file sub y", "line 1: cannot write sub: Is a directory\n"},
      {"file a..b y", "a..b"},
      {"file inner/x y", "sub/x"},
  };
  for (const auto& [line, outcome] : kCases) {
    tessik::SimRun run = tessik::RunSim(dir.path(), line + "\nend\n", {"--dir", work});
    std::string errors = run.errors;
    if (size_t at = errors.find(run.script); at != std::string::npos) {
      errors.replace(at, run.script.size(), "SCRIPT");
    }
    const bool fails = outcome.find(' ') != std::string::npos;
    EXPECT_EQ(errors, fails ? "vexmoor-sim: " + outcome : "") << line;
    EXPECT_EQ(run.status, fails ? 1 : 0) << line;
    EXPECT_TRUE(fails || fs::is_regular_file(work + "/" + outcome)) << line;
    EXPECT_TRUE(fs::is_empty(outside) && !fs::exists(dir / "x")) << line;
  }
}

}  // namespace
