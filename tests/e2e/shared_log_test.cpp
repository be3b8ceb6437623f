// One handle's log shared by everything that writes it: two sessions of the user at once, a
// lock held by another program, and a data folder swapped for another after it was checked. Every
// game is kept, and kept where it belongs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
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

}  // namespace
}  // namespace tessik
