// The substitute host's command line, on files it cannot use: each failure names the file and
// the system's reason on standard error, and the exit status is 1.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace {

using tessik::TempDirectory;
using tessik::WriteFile;

struct Failure {
  std::string error;  // standard error, whole
  int status = -1;    // the exit status
};

// Runs vexmoor-sim on script, its files in directory, with options that take precedence over the
// helper's own (a later --plugin or --dir wins).
Failure RunHost(const std::string& directory, const std::string& script,
                const std::vector<std::string>& options) {
  tessik::SimProcess sim(directory, script, options);
  int status = sim.Wait();
  return {tessik::WithoutPipeNotes(sim.Errors()), status};
}

TEST(SimErrors, AFileThatCannotBeUsedIsNamedWithTheReason) {
  TempDirectory dir;
  const std::string notExecutable = dir / "plain-file", notAProgram = dir / "text-file";
  WriteFile(notExecutable, "#!/bin/sh\n");
  chmod(notExecutable.c_str(), 0644);
  WriteFile(notAProgram, "not a program\n");
  chmod(notAProgram.c_str(), 0755);
  const std::string missing = dir / "missing", plugin = TESSIK_PLUGIN;

  struct Case {
    std::string plugin, work, error;
  };
  for (const Case& c : {
           Case{missing, dir / "work",
                "cannot start the plug-in " + missing + ": No such file or directory"},
           Case{notExecutable, dir / "work",
                "cannot start the plug-in " + notExecutable + ": Permission denied"},
           Case{notAProgram, dir / "work",
                "cannot start the plug-in " + notAProgram + ": Exec format error"},
           Case{plugin, notExecutable + "/work",
                "cannot make the directory " + notExecutable + "/work: Not a directory"},
       }) {
    Failure run = RunHost(dir.path(), "end\n", {"--plugin", c.plugin, "--dir", c.work});
    EXPECT_EQ(run.error, "vexmoor-sim: " + c.error + "\n") << c.plugin << " " << c.work;
    EXPECT_EQ(run.status, 1) << c.plugin << " " << c.work;
  }
}

TEST(SimErrors, NamesThatLeaveTheWorkingDirectoryAreRefusedWithTheirLine) {
  TempDirectory dir;
  const std::string work = dir / "work", outside = dir / "outside";
  for (const std::string& made : {work, outside, work + "/sub"}) mkdir(made.c_str(), 0700);
  symlink("../outside", (work + "/out").c_str());
  symlink(outside.c_str(), (work + "/abs").c_str());
  symlink("sub", (work + "/inner").c_str());
  symlink("../outside/target", (work + "/link").c_str());
  const std::string refused = ".script: line 1: ";
  const std::string outsideName = "NAME is a file name inside the working directory\n";
  const std::string outsideUser = "USER is a file name inside the working directory\n";
  const std::string leads = ": it leads outside the working directory\n";

  struct Case {
    std::string line, error, written;  // written: the file made inside the working directory
  };
  for (const Case& c : {
           Case{"vx2 ../x a.pgn", refused + outsideUser, ""},
           Case{"vx2 /tmp/x a.pgn", refused + outsideUser, ""},
           Case{"file ../x y", refused + outsideName, ""},
           Case{"file /tmp/x y", refused + outsideName, ""},
           Case{"file sub/../../x y", refused + outsideName, ""},
           Case{"file sub/.. y", refused + outsideName, ""},
           Case{"file out/x y", "vexmoor-sim: line 1: cannot write out/x" + leads, ""},
           Case{"file abs/x y", "vexmoor-sim: line 1: cannot write abs/x" + leads, ""},
           Case{"vx2 out/ann a.pgn", "vexmoor-sim: line 1: cannot write out/ann.vx2" + leads, ""},
           Case{"file link y", "vexmoor-sim: line 1: cannot write link: it is a symbolic link\n",
                ""},
           Case{"file sub y", "vexmoor-sim: line 1: cannot write sub: Is a directory\n", ""},
           Case{"file a..b y", "", "a..b"},
           Case{"file inner/x y", "", "sub/x"},
           Case{"vx2 ann a.pgn", "", "ann.vx2"},
       }) {
    Failure run = RunHost(dir.path(), c.line + "\nend\n", {"--dir", work});
    // A fault found when the script is checked names the script: its name is the helper's.
    if (c.error.rfind(refused, 0) == 0) {
      EXPECT_TRUE(run.error.ends_with(c.error)) << c.line << ": " << run.error;
    } else {
      EXPECT_EQ(run.error, c.error) << c.line;
    }
    EXPECT_EQ(run.status, c.error.empty() ? 0 : 1) << c.line;
    EXPECT_TRUE(std::filesystem::is_empty(outside)) << c.line;
    EXPECT_FALSE(std::filesystem::exists(dir / "x") || std::filesystem::exists(dir / "x.vx2"))
        << c.line;
    if (!c.written.empty()) {
      EXPECT_TRUE(std::filesystem::is_regular_file(work + "/" + c.written)) << c.line;
    }
  }
}

}  // namespace
