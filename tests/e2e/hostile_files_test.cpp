// Files that are not what they should be, put there by a slip or by another local user: a data
// folder that is not the user's, special files at the names it reads, a line without end.
// Nothing outside the plug-in's own files is ever written, and
// nothing holds it up. (Links at the names it writes: the hostile_links transcript.)
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/game_record.h"
#include "support/game_rows.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kGame = WonGame("7", "bob");
const char kPgn[] = "[White \"ann\"]\n[Black \"bob\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n";

TEST(HostileFiles, DataFolderThatIsNotTheUsersOwnIsNotUsed) {
  enum Kind { kForeignOwner, kLink, kOpenWorkingDirectory };
  const char* what[] = {"another user's folder", "a link to a folder",
                        "a working directory that others may write"};
  for (Kind kind : {kForeignOwner, kLink, kOpenWorkingDirectory}) {
    SCOPED_TRACE(what[kind]);
    if (kind == kForeignOwner && geteuid() != 0) continue;  // only root can give a folder away
    TempDirectory dir;
    fs::path folder = kind == kLink ? dir / "elsewhere" : dir / "tessik";
    fs::create_directory(folder);
    if (kind == kLink) fs::create_directory_symlink(folder, dir / "tessik");
    // Settings that would silence the plug-in and run a command, and a link to the victim.
    const std::string planted = "Show Stats in Vexmoor=0\nprevent idle text=$(touch pwned)\n";
    WriteFile(folder / "tessik.ini", planted);
    WriteFile(dir / "victim", "not Tessik's");
    fs::create_symlink(dir / "victim", folder / "tessik.inn");
    if (kind == kForeignOwner) {
      ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
      ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    }
    // Anyone could have put the folder there, or swap it for theirs at any time.
    if (kind == kOpenWorkingDirectory) {
      ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    }
    SimRun run = RunSim(dir, Login() + kGame + "end\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ConsoleLines(run.lines), (Lines{"3 No game results against bob found\\n",
                                              "3 Score against bob +1 =0 -0 (100%)\\n"}));
    EXPECT_EQ(ReadFile(folder / "tessik.ini"), planted);
    EXPECT_EQ(ReadFile(dir / "victim"), "not Tessik's");
    EXPECT_FALSE(fs::exists(folder / "ann.glg"));
  }
}

TEST(HostileFiles, OwnFolderWritableByOthersIsClosedToThem) {
  TempDirectory dir;
  fs::create_directory(dir / "tessik");
  ASSERT_EQ(chmod((dir / "tessik").c_str(), 0777), 0);
  SimRun run = RunSim(dir, Login() + kGame + "end\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(fs::status(dir / "tessik").permissions(), fs::perms::owner_all);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\n");
  // Whatever the umask, every file made there is the user's alone.
  for (const char* name : {"ann.glg", "ann.stt", "ann.lock", "tessik.ini"}) {
    EXPECT_EQ(fs::status(dir / "tessik" / name).permissions(),
              fs::perms::owner_read | fs::perms::owner_write)
        << name;
  }
}

TEST(HostileFiles, SpecialFilesAtTheNamesItReadsNeitherStallNorFeedItNorAreReplaced) {
  const char* names[] = {"tessik/ann.glg", "tessik/tessik.ini", "ann.vx2", "ann.pgn"};
  struct Kind {
    const char* what;
    const char* device;  // a link to it; nullptr: a FIFO; "": a folder
  };
  const Kind kinds[] = {{"a FIFO", nullptr},
                        {"/dev/zero", "/dev/zero"},
                        {"/dev/urandom", "/dev/urandom"},
                        {"a folder", ""}};
  for (const char* name : names) {
    for (const Kind& kind : kinds) {
      SCOPED_TRACE(std::string(name) + " as " + kind.what);
      TempDirectory dir;
      fs::create_directory(dir / "tessik");
      if (kind.device == nullptr) {
        ASSERT_EQ(mkfifo((dir / name).c_str(), 0600), 0);
      } else if (*kind.device == '\0') {
        fs::create_directories(dir / name / "kept");
      } else {
        fs::create_symlink(kind.device, dir / name);
      }
      const fs::file_status before = fs::symlink_status(dir / name);
      SimRun run = RunSim(dir, Login() + kRatingRow + "sync\n" + kGame + "end\n");
      EXPECT_EQ(run.status, 0);  // no box waits for an answer
      EXPECT_EQ(ConsoleLines(run.lines).size(), 2u);
      EXPECT_EQ(fs::symlink_status(dir / name).type(), before.type());
    }
  }
}

TEST(HostileFiles, PgnLineWithoutEndKeepsMemoryBounded) {
  TempDirectory dir;
  WriteFile(dir / "ann.pgn", kPgn + std::string("[Event \""));
  constexpr off_t kLine = off_t{512} << 20;  // half a gigabyte of one line, as a sparse file
  ASSERT_EQ(truncate((dir / "ann.pgn").c_str(), kLine), 0);
  SimProcess sim(dir, Login() + kRatingRow + "end\n");
  const pid_t host = sim.Pid();
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(host, &status, 0, &usage), host);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The largest process of the host's tree, the plug-in among them, in kilobytes.
  EXPECT_LT(usage.ru_maxrss, 400 * 1024);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg").size(), 2 * kGameRecordBytes);  // the game before
}

}  // namespace
}  // namespace tessik
