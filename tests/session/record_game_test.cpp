// Finished games of the user, from the game-start and result datagrams to the log on disk.
#include "session/record_game.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "host/game_start_info.h"
#include "session/settings.h"
#include "support/records.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

struct Start {
  std::string white = "ann";
  std::string black = "bob";
  std::string wild = "0";
  std::string type = "Blitz";
  std::string whiteTitles;
  std::string blackTitles;
};

template <typename Change>
Start With(Change change) {
  Start start;
  change(start);
  return start;
}

class RecordGameTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    WriteFile(DataFile("ann.glg"), EncodeGameLog({MarkerRecord()}));
  }
  // Plays one game of the user to its result, text as the server gives it.
  void Play(const Start& start, const std::string& result) {
    std::string number = std::to_string(++games_);
    Send(2, 15,
         {number, start.white, start.black, start.wild, start.type, "1", "3", "2", "5", "0", "1",
          "", "1500", "1622", "4711", start.whiteTitles, start.blackTitles});
    Send(2, 16, {number, start.white, start.black, result});
    Deliver();
  }
  const GameRecord& Last() { return app.gameLog.back(); }
  OpponentTotals Totals(const std::string& name) {
    app.opponentTotals->ResetCursor(true);
    for (OpponentTotals entry; app.opponentTotals->NextEntry(entry) == 1;) {
      if (entry.name == name) return entry;
    }
    return {};
  }
  std::string Log() { return ReadFile(DataFile("ann.glg")); }

  int games_ = 0;
};

TEST_F(RecordGameTest, GameIsKeptOnDiskByteForByteAndItsScoreFollows) {
  LogIn("ann");
  Sent();
  Play({}, "1-0");
  ASSERT_EQ(app.gameLog.size(), 2u);
  GameRecord expected;
  expected.origin = kOriginLive;
  expected.initialMinutes = 3;
  expected.incrementSeconds = 2;
  expected.rated = 1;
  expected.userWhite = 1;
  expected.result = kUserWon;
  expected.gameKey = 4711;
  expected.startTime = g_gameStartInfo.gameStartTime;
  expected.userRating = 1500;
  expected.opponentRating = 1622;
  SetOpponent(expected, "bob");
  EXPECT_EQ(Log(), EncodeGameLog({MarkerRecord(), expected}));
  EXPECT_EQ(Sent(), (std::vector<std::string>{"3 No game results against bob found\\n",
                                              "3 Score against bob +1 =0 -0 (100%)\\n"}));
  EXPECT_EQ(Totals("bob").won, 1);
}

TEST_F(RecordGameTest, UnrecordedVariantsLeaveEverythingAsItWas) {
  LogIn("ann");
  for (const char* wild : {"6", "10", "11", "12", "13", "14", "15", "19", "20", "24", "280"}) {
    Sent();
    Play(With([&](Start& s) {
           s.wild = wild;
           s.type = "Wild";
         }),
         "1-0");
    EXPECT_EQ(app.gameLog.size(), 1u) << wild;
    EXPECT_EQ(Sent().size(), 1u) << wild;  // the game start's line, nothing after the end
  }
  EXPECT_EQ(Log(), EncodeGameLog({MarkerRecord()}));
  EXPECT_EQ(app.opponentTotals->size(), 0u);
  Play(With([&](Start& s) {
         s.wild = "23";
         s.type = "Crazyhouse";
       }),
       "1-0");  // a variant that is kept
  EXPECT_EQ(Last().wild, 23);
}

TEST_F(RecordGameTest, ResultIsTurnedToTheUsersSide) {
  LogIn("ann");
  Play(With([&](Start& s) {
         s.white = "bob";
         s.black = "ann";
       }),
       "0-1");
  EXPECT_EQ(Last().result, kUserWon);
  EXPECT_EQ(Last().userWhite, 0);
  EXPECT_EQ(Totals("bob").won, 1);
  Play(With([&](Start& s) {
         s.white = "bob";
         s.black = "ann";
       }),
       "1-0");
  EXPECT_EQ(Last().result, kUserLost);
  Play({}, "1/2-1/2");
  EXPECT_EQ(Last().result, kDraw);
  EXPECT_EQ(Totals("bob").drawn, 1);
}

TEST_F(RecordGameTest, TitleTokensFromTheLeftUntilAnEmptyOne) {
  LogIn("ann");
  Play(With([&](Start& s) { s.blackTitles = "GM C"; }), "1-0");
  EXPECT_EQ(Last().title, 7);
  EXPECT_EQ(Last().computer, 1);
  Play(With([&](Start& s) { s.blackTitles = "fm IM  \t"; }), "1-0");
  EXPECT_EQ(Last().title, 6);
  Play(With([&](Start& s) { s.blackTitles = "WIM"; }), "1-0");
  EXPECT_EQ(Last().womanTitle, 5);
  EXPECT_EQ(Last().title, 0);
  Play(With([&](Start& s) { s.blackTitles = " GM"; }), "1-0");
  EXPECT_EQ(Last().title, 0);
  Play(With([&](Start& s) { s.blackTitles = "CM  WGM"; }), "1-0");
  EXPECT_EQ(Last().title, 4);
  EXPECT_EQ(Last().womanTitle, 0);
  Play(With([&](Start& s) {
         s.white = "bob";
         s.black = "ann";
         s.whiteTitles = "WCM";
       }),
       "1-0");
  EXPECT_EQ(Last().womanTitle, 4);
}

TEST_F(RecordGameTest, PoolGamesByTheExactTypeName) {
  LogIn("ann");
  Play(With([&](Start& s) { s.type = "15-minute"; }), "1-0");
  EXPECT_EQ(Last().pool, 1);
  Play(With([&](Start& s) { s.type = "15-Minute"; }), "1-0");
  EXPECT_EQ(Last().pool, 0);
}

TEST_F(RecordGameTest, GuestSessionKeepsTheGameInMemoryOnly) {
  LogIn("guestann");
  Play(With([&](Start& s) { s.white = "guestann"; }), "1-0");
  EXPECT_EQ(app.gameLog.size(), 2u);
  EXPECT_EQ(Totals("bob").won, 1);
  EXPECT_FALSE(std::filesystem::exists(DataFile("guestann.glg")));
}

TEST_F(RecordGameTest, GuestOpponentIsStoredButNotCounted) {
  LogIn("ann");
  Play(With([&](Start& s) { s.black = "GuestXYZ"; }), "1-0");
  EXPECT_EQ(app.gameLog.size(), 2u);
  EXPECT_EQ(app.opponentTotals->size(), 0u);
  EXPECT_EQ(Log().size(), 2 * kGameRecordBytes);
}

TEST_F(RecordGameTest, ByColourLineShowsOnlyTheUsersColourAtTheEnd) {
  WriteFile(DataFile("tessik.ini"), "MatchEtcDisplayAll_bw=1\n");
  LogIn("ann");
  Play(With([&](Start& s) {
         s.white = "bob";
         s.black = "ann";
       }),
       "0-1");
  std::vector<std::string> sent = Sent();
  ASSERT_EQ(sent.size(), 3u);  // at the start one line: no games, the colours say no more
  EXPECT_EQ(sent[1], "3 Score against bob +1 =0 -0 (100%)\\n");
  EXPECT_EQ(sent[2], "3 Score against bob with black +1 =0 -0 (100%)\\n");
}

TEST_F(RecordGameTest, MatchOfferDuringTheGameDoesNotChangeItsRecord) {
  LogIn("ann");
  Send(2, 15, {"9", "ann", "bob", "0", "Blitz", "1", "3", "0", "3", "0", "1"});
  Send(2, 29, {"carl", "", "", "", "ann", "", "", "", "23", "Crazyhouse"});
  Send(2, 16, {"9", "ann", "bob", "1-0"});
  Deliver();
  EXPECT_EQ(OpponentName(Last()), "bob");
  EXPECT_EQ(Last().wild, 0);
  EXPECT_EQ(Totals("carl").won, 0);
}

TEST_F(RecordGameTest, TornTailIsCutBeforeTheAppend) {
  WriteFile(DataFile("ann.glg"), EncodeGameLog({MarkerRecord()}) + "torn record");
  LogIn("ann");
  Play({}, "1-0");
  EXPECT_EQ(Log().size(), 2 * kGameRecordBytes);
  app.EndSession();
  LogIn("ann");
  ASSERT_EQ(app.gameLog.size(), 2u);
  EXPECT_EQ(OpponentName(Last()), "bob");
}

TEST_F(RecordGameTest, GameThatCannotBeWrittenStaysInMemory) {
  LogIn("ann");
  std::filesystem::remove_all(app.dataDirectory);
  window.answers = {true, false};
  Play({}, "1-0");
  ASSERT_EQ(window.boxes.size(), 2u);
  EXPECT_NE(window.boxes[0].text.find("*.glg-file.\r\nReason: bad path  (Errorcode 3)"),
            std::string::npos);
  EXPECT_EQ(app.gameLog.size(), 2u);
  EXPECT_EQ(Totals("bob").won, 1);
}

}  // namespace
}  // namespace tessik
