// Sessions on a data directory that fills up: a small tmpfs mounted over it.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>

#include "host/game_start_info.h"
#include "session/settings.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

class DiskFullTest : public SessionFixture {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    SessionFixture::SetUp();
    ASSERT_EQ(mount("tmpfs", app.dataDirectory.c_str(), "tmpfs", 0, "size=64k"), 0);
    mounted_ = true;
    // 102 records fill 4080 bytes of the log's first 4096-byte page: the next game needs a
    // page of its own.
    std::vector<GameRecord> log(102);
    log[0] = MarkerRecord();
    for (size_t i = 1; i < log.size(); ++i) SetOpponent(log[i], "old");
    WriteFile(DataFile("ann.glg"), EncodeGameLog(log));
    LogIn("ann");
    Sent();
  }
  void TearDown() override {
    if (mounted_) umount(app.dataDirectory.c_str());
  }
  // Fills the disk to its last byte with one file.
  void FillDisk() {
    std::ofstream filler(DataFile("filler"), std::ios::binary);
    std::string block(512, 'x');
    while (filler.write(block.data(), block.size())) {
    }
  }
  void FreeDisk() { std::filesystem::remove(DataFile("filler")); }
  void PlayGame(const std::string& number, const std::string& opponent) {
    Send(2, 15, {number, "ann", opponent, "0", "Blitz", "1", "3", "0", "3", "0", "1"});
    Send(2, 16, {number, "ann", opponent, "1-0"});
    Deliver();
  }
  // The games the log holds beyond the 101 it began with.
  std::vector<std::string> LoggedOpponents() {
    std::vector<std::string> names;
    std::string bytes = ReadFile(DataFile("ann.glg"));
    for (size_t at = 102 * kGameRecordBytes; at + kGameRecordBytes <= bytes.size();
         at += kGameRecordBytes) {
      names.emplace_back(
          OpponentName(DecodeGameRecord(reinterpret_cast<const unsigned char*>(&bytes[at]))));
    }
    return names;
  }

  bool mounted_ = false;
};

TEST_F(DiskFullTest, RetryAfterSpaceIsFreedSavesTheGame) {
  FillDisk();
  window.answers = {true};
  window.beforeAnswer = [this] { FreeDisk(); };
  PlayGame("1", "bob");
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_NE(window.boxes[0].text.find("*.glg-file.\r\nReason: disk full  (Errorcode 13)"),
            std::string::npos);
  EXPECT_EQ(LoggedOpponents(), std::vector<std::string>{"bob"});
}

TEST_F(DiskFullTest, CancelKeepsTheSessionAndLosesOnlyThatGameOnDisk) {
  FillDisk();
  window.answers = {false};
  PlayGame("1", "bob");
  EXPECT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(Sent().back(), "3 Score against bob +1 =0 -0 (100%)\\n");  // counted all the same
  FreeDisk();
  PlayGame("2", "carl");
  EXPECT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(LoggedOpponents(), std::vector<std::string>{"carl"});  // bob: as the box said
}

TEST_F(DiskFullTest, EndOfSessionSavesTotalsAndSettingsOnceSpaceIsFreed) {
  PlayGame("1", "bob");
  FillDisk();
  window.answers = {true, true};
  window.beforeAnswer = [this] { FreeDisk(); };
  Send(2, 16, {});  // source 2 16: not the end; the host's end follows
  SendRaw(FrameMessage(kMsgConnectionEnded, nullptr, 0));
  Deliver();
  ASSERT_GE(window.boxes.size(), 1u);
  EXPECT_NE(window.boxes[0].text.find("Reason: disk full  (Errorcode 13)"), std::string::npos);
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "bob 1 0 0\nold 0 101 0\n");
  EXPECT_NE(ReadFile(DataFile("tessik.ini")).find("[Behaviour]"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(DataFile("ann.stn")));
  EXPECT_FALSE(std::filesystem::exists(DataFile("tessik.inn")));
}

}  // namespace
}  // namespace tessik
