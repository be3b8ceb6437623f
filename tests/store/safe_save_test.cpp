#include "store/safe_save.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/syscall.h>

#include <filesystem>

#include "support/records.h"
#include "support/session_fixture.h"

// While set, the writes of this program go as a slow device lets them: the first is
// interrupted before it writes anything, each later one writes at most 3 bytes.
static int g_shortWrites = 0;  // the writes made while set, and one

extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
  if (g_shortWrites > 0 && g_shortWrites++ == 1) return errno = EINTR, -1;
  return syscall(SYS_write, fd, buffer, g_shortWrites ? std::min<size_t>(count, 3) : count);
}

namespace tessik {
namespace {

using namespace std::string_literals;

// Every save here meets short and interrupted writes, and a link left under the temporary name.
TEST(SafeSave, TheBackupRuleDecidesWhatBecomesOfTheReplacedFile) {
  // the rule; current and backup before ("-": none); the errno; current, backup, temporary
  const std::tuple<Backup, std::array<std::string, 2>, int, std::array<std::string, 3>> kCases[] = {
      {Backup::None, {"old", "older"}, 0, {"new file", "older", "-"}},
      {Backup::Replace, {"old", "older"}, 0, {"new file", "old", "-"}},
      {Backup::Replace, {"-", "older"}, 0, {"new file", "-", "-"}},  // a first save
      {Backup::KeepOld, {"old", "-"}, 0, {"new file", "old", "-"}},
      {Backup::KeepOld, {"old", "older"}, EEXIST, {"old", "older", "new file"}},
  };
  for (const auto& [rule, before, error, after] : kCases) {
    TempDirectory directory;
    const std::string paths[3] = {directory / "f", directory / "f.bak", directory / "f.tmp"};
    for (int i : {0, 1}) {
      if (before[i] != "-") WriteFile(paths[i], before[i]);
    }
    WriteFile(directory / "victim", "untouched");
    ASSERT_EQ(symlink((directory / "victim").c_str(), paths[2].c_str()), 0);
    g_shortWrites = 1;
    EXPECT_EQ(
        WriteFileAtomically({AT_FDCWD, paths[0], paths[2], paths[1]}, rule, "new file").value(),
        error);
    EXPECT_EQ(g_shortWrites, 5);  // an interrupted write, then three of 3 bytes at most
    g_shortWrites = 0;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(std::filesystem::exists(paths[i]) ? ReadFile(paths[i]) : "-", after[i]) << i;
    }
    EXPECT_EQ(ReadFile(directory / "victim"), "untouched");
  }
}

// A data directory that fills up: a small tmpfs mounted over it.
class DiskFullTest : public SessionFixture {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    SessionFixture::SetUp();
    ASSERT_EQ(mount("tmpfs", app.dataDirectory.c_str(), "tmpfs", 0, "size=64k,mode=0700"), 0);
    // 102 records fill 4080 bytes of the log's first page: the next game needs a page of its own.
    WriteFile(DataFile("ann.glg"), EncodeGameLog(LogOf(std::vector(101, GameAgainst("old", 0)))));
    LogIn("ann");
    window.beforeAnswer = [this] { std::filesystem::remove(DataFile("filler")); };
  }
  // Detached, as the session still holds its lock file there: the folder can then go.
  void TearDown() override { EXPECT_EQ(umount2(app.dataDirectory.c_str(), MNT_DETACH), 0); }
  void FillTheDisk() { WriteFile(DataFile("filler"), std::string(64 * 1024, 'x')); }
};

// The game is saved once the user has freed space and answered the box with Retry.
TEST_F(DiskFullTest, TheGameIsSavedWhenTheUserRetriesWithSpaceFreed) {
  window.answers = {true};
  FillTheDisk();
  WinGame("1");
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_NE(window.boxes[0].text.find("*.glg-file.\r\nReason: disk full  (Errorcode 13)"),
            std::string::npos);
  EXPECT_EQ(Opponents(DecodeLog(ReadFile(DataFile("ann.glg"))), 102), std::vector{"bob"s});
}

}  // namespace
}  // namespace tessik
