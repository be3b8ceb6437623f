// The substitute host's command line, on files it cannot use: each failure names the file and
// the system's reason on standard error, and the exit status is 1.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_directory.h"
#include "vexmoor-sim/sim_process.h"

namespace {

using tessik::TempDirectory;
using tessik::WriteFile;

struct Failure {
  std::string error;  // standard error, whole
  int status = -1;    // the exit status
};

// Runs vexmoor-sim with arguments (and environment settings before it, "NAME=value ...");
// what it printed on standard error and its exit status.
Failure RunSim(const std::string& arguments, const std::string& environment = "") {
  std::string command =
      environment + " " + VEXMOOR_SIM + " " + arguments + " </dev/null 2>&1 >/dev/null";
  Failure run;
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr) run.error += buffer;
  run.error = tessik::WithoutPipeNotes(run.error);
  int status = pclose(out);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

TEST(SimErrors, AFileThatCannotBeUsedIsNamedWithTheReason) {
  TempDirectory dir;
  const std::string work = dir / "work", script = dir / "session.script";
  WriteFile(script, "end\n");
  const std::string notExecutable = dir / "plain-file", notAProgram = dir / "text-file";
  WriteFile(notExecutable, "#!/bin/sh\n");
  chmod(notExecutable.c_str(), 0644);
  WriteFile(notAProgram, "not a program\n");
  chmod(notAProgram.c_str(), 0755);
  const std::string missing = dir / "missing", plugin = TESSIK_PLUGIN;

  struct Case {
    std::string plugin, work, script, error;
  };
  for (const Case& c : {
           Case{missing, work, script,
                "cannot start the plug-in " + missing + ": No such file or directory"},
           Case{notExecutable, work, script,
                "cannot start the plug-in " + notExecutable + ": Permission denied"},
           Case{notAProgram, work, script,
                "cannot start the plug-in " + notAProgram + ": Exec format error"},
           Case{plugin, work, missing,
                "cannot read the script " + missing + ": No such file or directory"},
           Case{plugin, work, dir.path(),
                "cannot read the script " + dir.path() + ": Is a directory"},
           Case{plugin, notExecutable + "/work", script,
                "cannot make the directory " + notExecutable + "/work: Not a directory"},
       }) {
    std::string arguments = "--plugin " + c.plugin + " --dir " + c.work + " " + c.script;
    Failure run = RunSim(arguments);
    EXPECT_EQ(run.error, "vexmoor-sim: " + c.error + "\n") << arguments;
    EXPECT_EQ(run.status, 1) << arguments;
  }
}

TEST(SimErrors, NamesThatLeaveTheWorkingDirectoryAreRefusedWithTheirLine) {
  TempDirectory dir;
  const std::string work = dir / "work", outside = dir / "outside", script = dir / "s.script";
  for (const std::string& made : {work, outside, work + "/sub"}) mkdir(made.c_str(), 0700);
  symlink("../outside", (work + "/out").c_str());
  symlink(outside.c_str(), (work + "/abs").c_str());
  symlink("sub", (work + "/inner").c_str());
  symlink("../outside/target", (work + "/link").c_str());
  const std::string refused = "vexmoor-sim: " + script + ": line 1: ";
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
    WriteFile(script, c.line + "\nend\n");
    Failure run =
        RunSim("--plugin " + std::string(TESSIK_PLUGIN) + " --dir " + work + " " + script);
    EXPECT_EQ(run.error, c.error) << c.line;
    EXPECT_EQ(run.status, c.error.empty() ? 0 : 1) << c.line;
    EXPECT_TRUE(std::filesystem::is_empty(outside)) << c.line;
    EXPECT_FALSE(std::filesystem::exists(dir / "x") || std::filesystem::exists(dir / "x.vx2"))
        << c.line;
    if (!c.written.empty()) {
      EXPECT_TRUE(std::filesystem::is_regular_file(work + "/" + c.written)) << c.line;
    }
  }
}

TEST(SimErrors, AQueueDirectoryThatIsNotTheUsersOwnIsNamedWithTheReason) {
  TempDirectory dir;
  const std::string runtime = dir / "runtime", queues = runtime + "/vexmoor2";
  mkdir(runtime.c_str(), 0700);
  mkdir((runtime + "/elsewhere").c_str(), 0700);
  symlink("elsewhere", queues.c_str());
  const std::string script = dir / "s.script";
  WriteFile(script, "end\n");
  Failure run =
      RunSim("--plugin " + std::string(TESSIK_PLUGIN) + " " + script, "XDG_RUNTIME_DIR=" + runtime);
  EXPECT_EQ(run.error, "vexmoor-sim: cannot open the host's message queue: " + queues +
                           " must be a directory of uid " + std::to_string(geteuid()) +
                           " that only it may use (mode 0700); it is a symbolic link\n");
  EXPECT_EQ(run.status, 1);
}

}  // namespace
