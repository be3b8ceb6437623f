// One handle's log shared by everything that writes it: two sessions of the user at once, a
// rewrite by tessik-stats import, a lock held by another program, and a data folder swapped for
// another after it was checked. Every game is kept, and kept where it belongs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
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

// Games won against opponent, numbered from first on.
std::string Games(int first, int count, const std::string& opponent) {
  std::string script;
  for (int number = first; number < first + count; ++number) {
    script += WonGame(std::to_string(number), opponent);
  }
  return script;
}

std::vector<GameRecord> LogIn(const fs::path& dir) {
  return DecodeLog(ReadFile(dir / "tessik/ann.glg"));
}

size_t Count(const std::vector<GameRecord>& log, const std::string& opponent) {
  const Lines names = Opponents(log);
  return static_cast<size_t>(std::count(names.begin(), names.end(), opponent));
}

// Two hosts in one folder, the same user logged in to both, playing at the same time: the first
// 40 games of each interleave; the first session looks bob up once the second has played 49, and
// the second plays its last game after the first session has ended.
TEST(SharedLog, TwoSessionsOfAHandleKeepEveryGameOfBoth) {
  TempDirectory dir;
  WriteFile(dir / "tessik/ann.glg", EncodeGameLog({MarkerRecord()}));
  SimProcess first(dir, Login() + "file first-in \"\"\nwaitfor second-in\n" + Games(1, 49, "bob") +
                            "sync\nfile first-49 \"\"\nwaitfor second-49\n" +
                            "dg 1 130 \"Finger of bob:\"\n" + Games(50, 1, "bob") + "end\n");
  ASSERT_TRUE(AwaitFile(dir / "first-in"));
  SimProcess second(dir, Login() + "file second-in \"\"\n" + Games(1001, 40, "bob") +
                             "waitfor first-49\n" + Games(1041, 9, "bob") +
                             "sync\nfile second-49 \"\"\nwaitfor first-ended\n" +
                             Games(1050, 1, "bob") + "end\n");
  EXPECT_EQ(first.Wait(), 0);
  WriteFile(dir / "first-ended", "");
  EXPECT_EQ(second.Wait(), 0);
  const Lines firstLines = ConsoleLines(first.Lines());
  ASSERT_GE(firstLines.size(), 3u);
  EXPECT_EQ(firstLines[firstLines.size() - 3], "3 Score against bob +98 =0 -0 (100%)\\n");
  EXPECT_EQ(firstLines.back(), "3 Score against bob +99 =0 -0 (100%)\\n");
  EXPECT_EQ(ConsoleLines(second.Lines()).back(), "3 Score against bob +100 =0 -0 (100%)\\n");
  EXPECT_EQ(Count(LogIn(dir), "bob"), 100u);
  EXPECT_EQ(LogIn(dir).size(), 101u);
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 100 0 0\n");
}

// A lock held by another program when a game ends: the game waits in memory, the user is told
// on the console whatever the options say, and it is saved with the next game.
TEST(SharedLog, AGameThatCannotBeSavedYetIsToldAndSavedWithTheNext) {
  TempDirectory dir;
  WriteFile(dir / "tessik/ann.glg", EncodeGameLog({MarkerRecord()}));
  const int lock = open((dir / "tessik/ann.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
  SimProcess sim(dir, "file tessik/tessik.ini \"Show Stats in Vexmoor=0\\n\"\n" + Login() +
                          Games(1, 1, "bob") + "sync\nfile held \"\"\nwaitfor released\n" +
                          Games(2, 1, "carl") + "end\n");
  ASSERT_TRUE(AwaitFile(dir / "held"));
  EXPECT_EQ(LogIn(dir).size(), 1u);
  close(lock);
  WriteFile(dir / "released", "");
  EXPECT_EQ(sim.Wait(), 0);
  EXPECT_EQ(ConsoleLines(sim.Lines()),
            (Lines{"3 The game log of ann could not be written (in use by another Tessik "
                   "program): 1 game not saved yet, tried again after the next game and at the "
                   "end of the session.\\n"}));
  EXPECT_EQ(Opponents(LogIn(dir)), (Lines{"bob", "carl"}));
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\ncarl 1 0 0\n");
}

// The data folder swapped for a link to another folder after the login: the session goes on
// writing into the folder it checked.
TEST(SharedLog, ADataFolderSwappedAfterTheLoginKeepsTheSessionsFiles) {
  TempDirectory dir;
  SimProcess sim(dir, "file tessik/tessik.ini \"close with connection=1\\n\"\n" + Login() +
                          "file in \"\"\nwaitfor swapped\n" + Games(1, 2, "bob") + "end\n");
  ASSERT_TRUE(AwaitFile(dir / "in"));
  fs::rename(dir / "tessik", dir / "checked");
  fs::create_directory(dir / "attacker");
  fs::create_directory_symlink(dir / "attacker", dir / "tessik");
  WriteFile(dir / "swapped", "");
  EXPECT_EQ(sim.Wait(), 0);
  EXPECT_TRUE(fs::is_empty(dir / "attacker"));
  EXPECT_EQ(Opponents(DecodeLog(ReadFile(dir / "checked/ann.glg"))), (Lines{"bob", "bob"}));
  EXPECT_EQ(ReadFile(dir / "checked/ann.stt"), "bob 2 0 0\n");
  EXPECT_NE(ReadFile(dir / "checked/tessik.ini").find("close with connection=1"),
            std::string::npos);
}

// tessik-stats import of an archive, stopped between its read of the log and its rename of the
// new one (as a slow disk or a busy machine may hold it), while a session of the user plays,
// or while the data folder is swapped for a link to another.
TEST(SharedLog, AnImportStoppedBetweenItsReadAndItsWriteKeepsEveryGameWhereItBelongs) {
  constexpr size_t kLogGames = 300'000, kArchiveGames = 500;  // a log that takes a while to write
  for (const bool swap : {false, true}) {
    SCOPED_TRACE(swap ? "the folder swapped" : "a session plays");
    TempDirectory dir;
    WriteFile(dir / "tessik/ann.glg",
              EncodeGameLog(LogOf(std::vector(kLogGames, GameAgainst("old", kUserWon)))));
    std::string archive;
    for (size_t i = 0; i < kArchiveGames; ++i) {
      archive += "[White \"ann\"]\n[Black \"z" + std::to_string(i) +
                 "\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n\n";
    }
    WriteFile(dir / "archive.pgn", archive);
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, (dir / "tessik").c_str(), IN_CREATE), 0);
    const pid_t import = fork();
    if (import == 0) {
      const std::string out = dir / "import.out";
      const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(fd, 1), dup2(fd, 2);
      execl(TESSIK_STATS, TESSIK_STATS, "--dir", dir.path().c_str(), "--user", "ann", "import",
            (dir / "archive.pgn").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Stopped as soon as it makes its new log, before it takes the lock to put it in place.
    for (bool made = false; !made;) {
      alignas(inotify_event) char events[4096];
      const ssize_t got = read(watch, events, sizeof events);
      ASSERT_GT(got, 0);
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        made = made || (event->len > 0 && std::string(event->name) == "ann.glg.new");
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    ASSERT_EQ(kill(import, SIGSTOP), 0);
    close(watch);
    int status = 0;
    ASSERT_EQ(waitpid(import, &status, WUNTRACED), import);
    ASSERT_TRUE(WIFSTOPPED(status));
    if (swap) {
      fs::rename(dir / "tessik", dir / "checked");
      fs::create_directory(dir / "attacker");
      fs::create_directory_symlink(dir / "attacker", dir / "tessik");
    } else {
      SimRun run = RunSim(dir, Login() + Games(1, 20, "bob") + "end\n");
      EXPECT_EQ(run.status, 0);
      EXPECT_EQ(ConsoleLines(run.lines).back(), "3 Score against bob +20 =0 -0 (100%)\\n");
    }
    ASSERT_EQ(kill(import, SIGCONT), 0);
    ASSERT_EQ(waitpid(import, &status, 0), import);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(dir / "import.out");
    const std::vector<GameRecord> log =
        DecodeLog(ReadFile(dir / (swap ? "checked" : "tessik") / "ann.glg"));
    EXPECT_EQ(log.size(), 1 + kLogGames + kArchiveGames + (swap ? 0 : 20));
    EXPECT_EQ(Count(log, "old"), kLogGames);
    EXPECT_EQ(Count(log, "bob"), swap ? 0u : 20u);
    if (swap) {
      EXPECT_TRUE(fs::is_empty(dir / "attacker"));
    }
  }
}

}  // namespace
}  // namespace tessik
