#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/session_fixture.h"

namespace tessik {
namespace {

class TotalsFileTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    app.userName = "ann";
    app.opponentTotals = std::make_unique<OpponentTotalsList>();
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(DataFile(name)); }
};

TEST_F(TotalsFileTest, OneLinePerOpponentInHandleOrder) {
  for (auto [name, index] : {std::pair{"bob", 0}, {"Carl", 2}, {"alice", 1}, {"carl", 0}}) {
    app.opponentTotals->AddResult(name, index);
  }
  EXPECT_EQ(app.SaveOpponentTotals(), kFileNone);
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "alice 0 1 0\nbob 1 0 0\nCarl 1 0 1\n");
  EXPECT_FALSE(Exists("ann.sto"));  // the first save has nothing to keep
  EXPECT_FALSE(Exists("ann.stn"));
}

TEST_F(TotalsFileTest, PreviousFileIsKeptAsBackup) {
  WriteFile(DataFile("ann.stt"), "old 1 2 3\n");
  WriteFile(DataFile("ann.sto"), "older 1 2 3\n");
  EXPECT_EQ(app.SaveOpponentTotals(), kFileNone);
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "");  // no opponents: an empty file
  EXPECT_EQ(ReadFile(DataFile("ann.sto")), "old 1 2 3\n");
}

TEST_F(TotalsFileTest, FailedSaveKeepsTheCurrentFileAndNamesTheCause) {
  WriteFile(DataFile("ann.stt"), "old 1 2 3\n");
  ASSERT_EQ(mkdir(DataFile("ann.stn").c_str(), 0700), 0);  // cannot be written, even by root
  app.opponentTotals->AddResult("bob", 0);
  EXPECT_EQ(app.SaveOpponentTotals(), kFileAccessDenied);
  EXPECT_EQ(ReadFile(DataFile("ann.stt")), "old 1 2 3\n");
  EXPECT_FALSE(Exists("ann.stn"));
}

TEST_F(TotalsFileTest, MissingDirectoryIsABadPath) {
  SetDirectories(app, directory / "gone");
  EXPECT_EQ(app.SaveOpponentTotals(), kFileBadPath);
}

TEST_F(TotalsFileTest, GuestsAndBlockedSessionsWriteNothingAndSucceed) {
  app.opponentTotals->AddResult("bob", 0);
  app.guestSession = true;
  EXPECT_EQ(app.SaveOpponentTotals(), kFileNone);
  app.guestSession = false;
  app.userFilesBlocked = true;
  EXPECT_EQ(app.SaveOpponentTotals(), kFileNone);
  EXPECT_FALSE(Exists("ann.stt"));
}

TEST_F(TotalsFileTest, WriteErrorBoxNamesFileReasonAndCode) {
  app.applicationName = "tessik";
  window.answers = {true};
  EXPECT_TRUE(app.ShowWriteError(kFileDiskFull, "*.stt"));
  EXPECT_FALSE(app.ShowWriteError(kFileSharingViolation, "*.ini"));
  ASSERT_EQ(window.boxes.size(), 2u);
  EXPECT_EQ(window.boxes[0].caption, "tessik");
  EXPECT_EQ(window.boxes[0].text,
            "A write error occured with the *.stt-file.\r\nReason: disk full  (Errorcode 13) \r\n"
            "If you can fix the problem, do so, then press retry.\r\n"
            "Else press cancel, all new data will be lost.");
  EXPECT_NE(window.boxes[1].text.find("Reason: unknown  (Errorcode 11)"), std::string::npos);
}

}  // namespace
}  // namespace tessik
