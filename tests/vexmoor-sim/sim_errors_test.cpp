// The substitute host's command line, on files it cannot use: each failure names the file and
// the system's reason on standard error, and the exit status is 1.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_directory.h"

namespace {

using tessik::TempDirectory;
using tessik::WriteFile;

struct Failure {
  std::string error;  // standard error, whole
  int status = -1;    // the exit status
};

// Runs vexmoor-sim with arguments; what it printed on standard error and its exit status.
Failure RunSim(const std::string& arguments) {
  std::string command = std::string(VEXMOOR_SIM) + " " + arguments + " </dev/null 2>&1 >/dev/null";
  Failure run;
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr) run.error += buffer;
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

}  // namespace
