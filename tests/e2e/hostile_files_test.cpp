// Files that are not what they should be, put there by a slip or by another local user: links at
// the names the plug-in writes, a data folder that is not the user's, special files at the names
// it reads, a line without end. Nothing outside the plug-in's own files is ever written, and
// nothing holds it up.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/game_record.h"
#include "support/game_rows.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kGame = WonGame("7", "bob");
const char kPgn[] = "[White \"ann\"]\n[Black \"bob\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n";

TEST(HostileFiles, LinksAtTheNamesItWritesAreNeverFollowed) {
  struct Case {
    const char* link;  // below the working directory
    std::string script;
    const char* oldLog;  // "" none, "current" the marker alone, "old" a log of an older version
  };
  const std::string session = Login() + kGame + "end\n";
  const std::string import = Login() + kRatingRow + "end\n";
  const Case cases[] = {
      {"tessik/ann.stn", session, "current"},     // the totals' new file
      {"tessik/ann.sto", session, "current"},     // the totals' backup
      {"tessik/tessik.inn", session, "current"},  // the settings' new file
      {"tessik/ann.glg", session, ""},            // the log itself
      {"tessik/ann.lock", session, "current"},    // the session's lock
      {"tessik/ann.glg.12", import, ""},          // the import's new log
      {"pgn_read.txt", import, ""},               // the import's report
      {"tessik/ann.glg.12", import, "old"},       // the conversion's new log
      {"tessik/ann.glg.10", import, "old"},       // the conversion's backup
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.link) + " " + c.oldLog);
    fs::path dir = FreshDirectory("links");
    std::ofstream(dir / "victim") << "not Tessik's";
    std::ofstream(dir / "ann.pgn") << kPgn;
    if (std::string(c.oldLog) == "current") {
      std::ofstream(dir / "tessik/ann.glg", std::ios::binary) << EncodeGameLog({MarkerRecord()});
    } else if (std::string(c.oldLog) == "old") {
      std::ofstream(dir / "tessik/ann.glg", std::ios::binary)
          << EncodeGameLog({GameAgainst("carl", kDraw)});
    }
    fs::create_symlink(dir / "victim", dir / c.link);
    SimRun run = RunSim(dir, c.script);
    EXPECT_EQ(run.status, 0);  // no box waits for an answer
    EXPECT_EQ(ReadFile(dir / "victim"), "not Tessik's");
    fs::remove_all(dir);
  }
}

TEST(HostileFiles, DataFolderThatIsNotTheUsersOwnIsNotUsed) {
  struct Case {
    const char* what;
    bool foreignOwner;  // made by another user (needs root to make)
  };
  for (const Case& c : {Case{"another user's folder", true}, Case{"a link to a folder", false}}) {
    SCOPED_TRACE(c.what);
    if (c.foreignOwner && geteuid() != 0) continue;  // only root can give a folder away
    fs::path dir = FreshDirectory("foreign-folder");
    fs::path folder = c.foreignOwner ? dir / "tessik" : dir / "elsewhere";
    if (!c.foreignOwner) {
      fs::remove(dir / "tessik");
      fs::create_directory(folder);
      fs::create_directory_symlink(folder, dir / "tessik");
    }
    // Settings that would silence the plug-in and run a command, and a link to the victim.
    const std::string planted = "Show Stats in Vexmoor=0\nprevent idle text=$(touch pwned)\n";
    std::ofstream(folder / "tessik.ini") << planted;
    std::ofstream(dir / "victim") << "not Tessik's";
    fs::create_symlink(dir / "victim", folder / "tessik.inn");
    if (c.foreignOwner) {
      ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
      ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    }
    SimRun run = RunSim(dir, Login() + kGame + "end\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ConsoleLines(run.lines), (Lines{"3 No game results against bob found\\n",
                                              "3 Score against bob +1 =0 -0 (100%)\\n"}));
    EXPECT_EQ(ReadFile(folder / "tessik.ini"), planted);
    EXPECT_EQ(ReadFile(dir / "victim"), "not Tessik's");
    EXPECT_FALSE(fs::exists(folder / "ann.glg"));
    fs::remove_all(dir);
  }
}

TEST(HostileFiles, OwnFolderWritableByOthersIsClosedToThem) {
  fs::path dir = FreshDirectory("open-folder");
  ASSERT_EQ(chmod((dir / "tessik").c_str(), 0777), 0);
  SimRun run = RunSim(dir, Login() + kGame + "end\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(
      fs::status(dir / "tessik").permissions() & (fs::perms::group_write | fs::perms::others_write),
      fs::perms::none);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\n");
  fs::remove_all(dir);
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
      fs::path dir = FreshDirectory("special");
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
      fs::remove_all(dir);
    }
  }
}

TEST(HostileFiles, PgnLineWithoutEndKeepsMemoryBounded) {
  fs::path dir = FreshDirectory("long-line");
  {
    std::ofstream pgn(dir / "ann.pgn");
    pgn << kPgn << "[Event \"";
  }
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
  fs::remove_all(dir);
}

// Games won against opponent, numbered from first on.
std::string Games(int first, int count, const std::string& opponent) {
  std::string script;
  for (int number = first; number < first + count; ++number) {
    script += WonGame(std::to_string(number), opponent);
  }
  return script;
}

TEST(HostileFiles, SecondSessionOfAHandleLeavesItsFilesAlone) {
  fs::path dir = FreshDirectory("two-hosts");
  std::ofstream(dir / "tessik/ann.glg", std::ios::binary) << EncodeGameLog({MarkerRecord()});
  // Two hosts in one folder, the same user logged in to both, playing at the same time.
  SimProcess first(
      dir, Login() + "file first-in \"\"\nwaitfor second-in\n" + Games(1, 100, "bob") + "end\n");
  ASSERT_TRUE(AwaitFile(dir / "first-in"));
  SimRun run = RunSim(dir, Login() + "file second-in \"\"\n" + Games(1001, 100, "carl") + "end\n");
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ConsoleLines(run.lines).back(), "3 Score against carl +100 =0 -0 (100%)\\n");
  EXPECT_EQ(ReadFile(dir / "tessik/ann.glg").size(), 101 * kGameRecordBytes);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 100 0 0\n");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tessik
