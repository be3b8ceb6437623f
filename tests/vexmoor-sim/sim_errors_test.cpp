// The substitute host's command line and script, on files it cannot use: each failure names the
// file and the system's reason on standard error, and the exit status is 1. Names others leave
// in its way keep no run from starting.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace {

namespace fs = std::filesystem;
using tessik::WriteFile;

constexpr uid_t kOtherUser = 65534;

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
// when a link on the way leads out; nothing is written outside. The folders on the way are made
// (mode 0700), inside only.
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
      {"file new/deeper/x y", "new/deeper/x"},
      {"file inner/new/x y", "sub/new/x"},
      {"file out/new/x y",
       "line 1: cannot write out/new/x: it leads outside the working directory\n"},
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
  EXPECT_EQ(fs::status(work + "/new/deeper").permissions(), fs::perms::owner_all);
}

// A script line the host cannot play is refused with its line before the plug-in starts; a wrong
// command line lists the verbs with their help.
// --help is an answer (standard output, status 0); a command line it cannot take, an error.
TEST(SimErrors, HelpIsAnAnswerAndAWrongCommandLineAnError) {
  tessik::TempDirectory dir;
  // the arguments; the exit status; whether the usage went to standard output
  const std::tuple<std::string, int, bool> kCases[] = {
      {"--help", 0, true}, {"--bogus", 2, false}, {"", 2, false}};
  for (const auto& [arguments, status, toOutput] : kCases) {
    const int run = std::system((std::string(VEXMOOR_SIM) + " " + arguments + " >" +
                                 (dir / "out").string() + " 2>" + (dir / "err").string())
                                    .c_str());
    EXPECT_EQ(WIFEXITED(run) ? WEXITSTATUS(run) : -1, status) << arguments;
    const std::string out = tessik::ReadFile(dir / "out"), err = tessik::ReadFile(dir / "err");
    EXPECT_EQ((toOutput ? out : err).rfind("usage: vexmoor-sim [--plugin PATH]", 0), 0u)
        << arguments;
    EXPECT_EQ(toOutput ? err : out, "") << arguments;
  }
}

TEST(SimErrors, EachVerbChecksItsArguments) {
  tessik::TempDirectory dir;
  const std::string inside = "NAME is a file name inside the working directory";
  // the second line of the script; the error
  const std::pair<std::string, std::string> kCases[] = {
      {"frob", "unknown verb \"frob\""},
      {"dg 1", "usage: dg SOURCE NUMBER [FIELD ...]"},
      {"dg 1 65536", "SOURCE and NUMBER are whole numbers from 0 to 65535"},
      {"dg -1 0", "SOURCE and NUMBER are whole numbers from 0 to 65535"},
      {"end now", "usage: end"},
      {"sync now", "usage: sync"},
      {"pause", "usage: pause MS"},
      {"pause 3600001", "MS is a whole number of milliseconds up to 3600000"},
      {"vx2 ann", "usage: vx2 USER PATH"},
      {"file x", "usage: file NAME TEXT"},
      {"link ../x y", inside},
      {"waitfor /x", inside},
      {"game", "usage: game NAME [FIELD=VALUE ...]"},
      {"game ../g opp=bob", inside},
      {"game g colour=1",
       "\"colour=1\" is not a record field (opp=NAME of up to 15 characters, "
       "result=won|draw|lost|marker, or a number in range for wild origin reserved minutes "
       "increment rated white title wtitle computer pool key time rating opprating)"},
      {"games g h", "usage: games NAME"},
      {"show ..", inside},
      {"ls", "usage: ls NAME"},
      {"waitexit 5", "usage: waitexit"},
      {"restart now", "usage: restart"},
  };
  for (const auto& [line, error] : kCases) {
    tessik::SimRun run = tessik::RunSim(dir.path(), "end\n" + line + "\n");
    EXPECT_EQ(run.errors, "vexmoor-sim: " + run.script + ": line 2: " + error + "\n") << line;
    EXPECT_EQ(run.status, 1) << line;
  }
  tessik::SimRun help = tessik::RunSim(dir.path(), "end\n", {"--pipe-size", "8"});
  EXPECT_EQ(help.status, 2);
  for (const char* verb : {"\n  dg SOURCE NUMBER [FIELD ...]    forward a datagram",
                           "\n  restart                         end the plug-in's run"}) {
    EXPECT_NE(help.errors.find(verb), std::string::npos) << help.errors;
  }
}

// Another user's /tmp/vexmoor2-<uid> (with no runtime directory): the host's queue, and then the
// plug-in's, go to a fresh private directory, removed at the end. The run is a user of its own,
// so that other runs meanwhile keep their usual directory.
TEST(SimErrors, AnotherUsersQueueDirectoryIsPassedOver) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a directory to another user";
  for (fs::path path : {VEXMOOR_SIM, TESSIK_PLUGIN}) {  // run by that user: every folder on the way
    for (; path != path.root_path(); path = path.parent_path()) {
      struct stat info {};
      if (stat(path.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) {
        GTEST_SKIP() << path << " cannot be reached by another user";
      }
    }
  }
  const uid_t user = 60000 + getpid() % 5000;
  const std::string usual = "/tmp/vexmoor2-" + std::to_string(user);
  fs::remove_all(usual);
  ASSERT_EQ(mkdir(usual.c_str(), 0700) | chown(usual.c_str(), kOtherUser, kOtherUser), 0);
  tessik::TempDirectory dir;
  ASSERT_EQ(chown(dir.path().c_str(), user, user), 0);
  tessik::SimRun run = tessik::RunSim(dir.path(), "end\n", {}, [user] {
    return unsetenv("XDG_RUNTIME_DIR") == 0 && setgroups(0, nullptr) == 0 &&
           setresgid(user, user, user) == 0 && setresuid(user, user, user) == 0;
  });
  fs::remove_all(usual);
  struct stat qt {};  // Qt's runtime directory for a user without a name
  if (lstat("/tmp/runtime-", &qt) == 0 && qt.st_uid == user) fs::remove_all("/tmp/runtime-");
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors.rfind("vexmoor-sim: " + usual + " must be a directory of uid " +
                                 std::to_string(user) + " that only it may use (mode 0700); " +
                                 "it belongs to uid 65534; the queues are in " + usual + ".",
                             0),
            0u)
      << run.errors;
  EXPECT_EQ(run.lines.size() > 1 ? run.lines[1] : "", "1 Tessik 1.2");
  for (const auto& entry : fs::directory_iterator("/tmp")) {
    EXPECT_NE(entry.path().string().rfind(usual + ".", 0), 0u) << entry.path() << " was left";
  }
}

// Pipe names squatted in /dev/shm (another user's, or the user's own when not root) do not use up
// the host's pipe ids.
TEST(SimErrors, SquattedPipeNamesLeaveIdsEnough) {
  std::vector<std::string> squatted;
  for (int id = 1; id <= 999; ++id) {
    const std::string name = "/Vexmoor2.IPCMutex" + std::to_string(id);
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) continue;  // a host that runs holds it
    squatted.push_back(name);
    EXPECT_TRUE(geteuid() != 0 || fchown(fd, kOtherUser, kOtherUser) == 0);
    close(fd);
  }
  tessik::TempDirectory dir;
  tessik::SimRun run = tessik::RunSim(dir.path(), "end\n");
  for (const std::string& name : squatted) shm_unlink(name.c_str());
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
}

}  // namespace
