#include "session/dispatcher.h"

#include <gtest/gtest.h>

#include <random>

#include <string>
#include <vector>

#include "host/game_start_info.h"
#include "host_datagram.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

using Fields = std::vector<std::string>;

const std::vector<std::string> kGreeting = {"1 Tessik 1.2", "4 1",  "5 16", "5 130", "5 135", "6 0",
                                            "6 29",         "6 15", "6 16", "6 76",  "6 62"};

class DispatchTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    EXPECT_EQ(window.text, "");
  }
  // A game-start datagram of 17 fields; the user plays white when white is the user's name.
  Fields GameStart(const std::string& white, const std::string& black, const std::string& number) {
    return {number, white, black, "0",    "Blitz", "1",    "3",    "0",  "5",
            "2",    "1",   "x",   "1500", "1600",  "4242", "(GM)", "(C)"};
  }
};

TEST_F(DispatchTest, OutputPipeAnnouncementBringsTheGreeting) {
  EXPECT_EQ(greeting, kGreeting);
  app.OnIPCNewPipe(pipes.inputId, pipes.size);  // nothing is sent when the input pipe opens
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DispatchTest, OneNotificationDispatchesEverythingWrittenInOrder) {
  Send(2, 0, {"alice"});
  app.idleMinutes = 9;
  Send(2, 62, {});
  Send(2, 29, {"alice", "", "", "", "bob", "", "", "", "0", "Blitz"});
  app.OnIPCDataReady(12345, 1);  // whatever pipe and count it names
  EXPECT_EQ(app.userName, "alice");
  EXPECT_EQ(app.idleMinutes, 0);
  // field 0 was the user, read after login: the offer is bob's
  EXPECT_EQ(Sent(), (std::vector<std::string>{"6 87", "3 No game results against bob found\\n"}));
  EXPECT_EQ(window.title, "Personal Statistic for alice");
  app.idleMinutes = 5;
  Deliver();  // the three notifications find the pipe empty
  EXPECT_EQ(app.idleMinutes, 5);
}

TEST_F(DispatchTest, GuestNamesInAnyCaseMarkAGuestSession) {
  for (const std::string name : {"GuestQWRT", "anonymous", "ANON", "gUeSt"}) {
    window.text.clear();
    app.userName.clear();
    LogIn(name);
    EXPECT_TRUE(app.guestSession) << name;
    EXPECT_EQ(window.text,
              "You logged in as anonymous player or guest.\r\n"
              "This plugin will work for this session,\r\n"
              "but no data will be saved to disk.")
        << name;
    EXPECT_EQ(window.title, "Personal Statistic for " + name);
  }
  window.text.clear();
  app.userName.clear();
  LogIn("myguest");
  EXPECT_FALSE(app.guestSession);
  EXPECT_EQ(window.text, "Hello myguest");
}

TEST_F(DispatchTest, SecondLoginDuringASessionIsIgnored) {
  LogIn("alice");
  LogIn("bob");
  EXPECT_EQ(app.userName, "alice");
  EXPECT_EQ(window.title, "Personal Statistic for alice");
}

TEST_F(DispatchTest, HandleThatCannotNameAFileRunsWithoutTheDisk) {
  LogIn("");
  EXPECT_EQ(app.userName, "");  // no handle, no session
  for (const std::string& name :
       std::vector<std::string>{"../../etc/passwd", "ann.x", std::string(65, 'a')}) {
    app.userName.clear();
    window.text.clear();
    LogIn(name);
    EXPECT_EQ(app.userName, name);
    EXPECT_TRUE(app.userFilesBlocked);
    EXPECT_FALSE(app.guestSession);
    EXPECT_EQ(window.text, "The handle \"" + name +
                               "\" cannot be part of a file name: nothing will be read from or "
                               "saved to disk in this session.");
    EXPECT_EQ(app.gameLog.size(), 1u);  // the marker alone, as for a guest
    EXPECT_EQ(g_pendingImport, kNothingAwaited);
  }
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  app.userName.clear();
  LogIn(std::string(64, 'a'));
  EXPECT_FALSE(app.userFilesBlocked);
}

TEST_F(DispatchTest, GameStartIsTakenFromTheUsersSide) {
  LogIn("alice");
  app.idleMinutes = 30;
  Send(2, 15, GameStart("alice", "bob", "77"));
  Deliver();
  const GameStartInfo& game = g_gameStartInfo;
  EXPECT_EQ(app.idleMinutes, 0);
  EXPECT_NE(game.gameStartTime, 0);
  EXPECT_EQ(game.gameNumber, "77");
  EXPECT_EQ(game.opponentName, "bob");
  EXPECT_EQ(game.userHadWhite, 1);
  EXPECT_EQ(game.ownInitialTime, "3");
  EXPECT_EQ(game.ownIncrement, "0");
  EXPECT_EQ(game.ownRating, "1500");
  EXPECT_EQ(game.opponentRatingText, "1600");
  EXPECT_EQ(game.opponentTitles, "(C)");
  EXPECT_EQ(game.gameKeyText, "4242");
  EXPECT_EQ(game.ratingTypeName, "Blitz");
  EXPECT_EQ(game.wildNumber, "0");
  EXPECT_EQ(game.ratedText, "1");

  Send(2, 15, GameStart("carl", "alice", "78"));
  Deliver();
  EXPECT_EQ(game.opponentName, "carl");
  EXPECT_EQ(game.userHadWhite, 0);
  EXPECT_EQ(game.ownInitialTime, "5");
  EXPECT_EQ(game.ownIncrement, "2");
  EXPECT_EQ(game.ownRating, "1600");
  EXPECT_EQ(game.opponentRatingText, "1500");
  EXPECT_EQ(game.opponentTitles, "(GM)");
}

TEST_F(DispatchTest, GameStartOfAGameTheUserDoesNotPlayChangesNothing) {
  LogIn("alice");
  app.idleMinutes = 7;
  Fields observed = GameStart("carl", "dora", "90");
  observed[10] = "0";
  Send(2, 15, observed);
  Deliver();
  EXPECT_EQ(app.idleMinutes, 7);
  EXPECT_EQ(g_gameStartInfo.gameNumber, "");
  EXPECT_EQ(g_gameStartInfo.opponentName, "");
}

TEST_F(DispatchTest, ResultCountsOnlyForTheRunningGame) {
  LogIn("alice");
  Send(2, 15, GameStart("alice", "bob", "77"));
  Send(2, 16, {"78", "", "", "1-0"});
  Deliver();
  EXPECT_EQ(g_gameStartInfo.gameNumber, "77");
  EXPECT_EQ(g_gameStartInfo.gameResult, 0);

  Send(2, 16, {"77", "", "", "aborted"});
  Deliver();
  EXPECT_EQ(g_gameStartInfo.gameNumber, "");
  EXPECT_EQ(g_gameStartInfo.gameResult, 2);

  for (auto [text, result] : {std::pair{"1-0", -1}, {"1/2-1/2", 0}, {"0-1", 1}}) {
    Send(2, 15, GameStart("alice", "bob", "80"));
    Send(2, 16, {"80", "", "", text});
    Deliver();
    EXPECT_EQ(g_gameStartInfo.gameResult, result) << text;
    EXPECT_EQ(g_gameStartInfo.gameNumber, "");
  }
  Send(2, 16, {"", "", "", "1-0"});  // no game runs: an empty number matches nothing
  Deliver();
  EXPECT_EQ(g_gameStartInfo.gameResult, 1);
}

TEST_F(DispatchTest, EndOfConnectionEndsTheSession) {
  LogIn("alice");
  SendRaw(FrameMessage(kMsgConnectionEnded, nullptr, 0));
  Deliver();
  EXPECT_EQ(app.userName, "");
  EXPECT_TRUE(app.sessionEnded);
  EXPECT_EQ(window.title, "Plugin not connected");
  EXPECT_EQ(window.closeCount, 1);
  LogIn("bob");  // a later login starts a new session
  EXPECT_EQ(app.userName, "bob");
  EXPECT_FALSE(app.sessionEnded);
}

TEST_F(DispatchTest, DatagramSixteenOfSourceOneEndsTheSessionToo) {
  LogIn("alice");
  Send(1, 16, {});
  Deliver();
  EXPECT_EQ(app.userName, "");
  EXPECT_EQ(window.title, "Plugin not connected");
  EXPECT_EQ(window.closeCount, 1);
}

TEST_F(DispatchTest, FingerAndAssessResetTheIdleCount) {
  LogIn("alice");
  app.idleMinutes = 12;
  Send(1, 130, {"Finger of bob(GM):"});
  Deliver();
  EXPECT_EQ(app.idleMinutes, 0);
  app.idleMinutes = 12;
  Send(1, 135, {"no carriage return"});
  Deliver();
  EXPECT_EQ(app.idleMinutes, 0);
}

TEST_F(DispatchTest, RatingReplyIsTakenOnlyWhileAnImportWaits) {
  LogIn("alice");
  g_pendingImport = kNothingAwaited;
  ASSERT_EQ(Sent(), (std::vector<std::string>{"6 87"}));  // a new user
  Fields reply = {"alice", "1501", "1905", "1302", "x", "x", "x", "1403", " 1250", "x", "-17z"};
  Send(2, 87, reply);
  Deliver();
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(g_importReply.ratings[0], -1);

  g_pendingImport = kFirstImport;
  Send(2, 87, reply);
  Deliver();
  EXPECT_EQ(Sent(), (std::vector<std::string>{"8 87"}));
  EXPECT_EQ(g_importReply.ratings, (std::array<int32_t, 6>{1501, 1403, 1302, 1250, 1905, -17}));
  EXPECT_EQ(g_pendingImport, kNothingAwaited);
}

TEST_F(DispatchTest, HostileBytesNeverStopTheNextWellFormedMessage) {
  Bytes truncated = FrameMessage(kMsgDatagram, "\x02\x00", 2);
  Bytes overcounted = vexmoor::EncodeDatagram(2, 0, {});
  overcounted[8] = 0xFF;
  overcounted[9] = 0x7F;
  Bytes negative = vexmoor::EncodeDatagram(2, 15, {"1"});
  negative[9] = 0x80;
  SendRaw(truncated);
  SendRaw(FrameMessage(kMsgDatagram, overcounted.data(), overcounted.size()));
  SendRaw(FrameMessage(kMsgDatagram, negative.data(), negative.size()));
  SendRaw(FrameMessage(555, "abc", 3));
  SendRaw(FrameMessage(556, nullptr, 0));
  Send(2, 0, {"alice"});
  Send(2, 15, {"1", "", "", "", "", "", "", "", "", "", "1"});  // fields 11 to 16 missing
  Deliver();
  EXPECT_EQ(app.userName, "alice");
  EXPECT_EQ(g_gameStartInfo.gameNumber, "1");
  EXPECT_EQ(window.closeCount, 0);
}

}  // namespace
}  // namespace tessik

namespace tessik {
namespace {

TEST_F(DispatchTest, RandomBytesNeverStopTheNextMessageAfterAGap) {
  std::mt19937 random(42);
  for (int round = 0; round < 200; ++round) {
    Bytes noise(1 + random() % 600);
    for (unsigned char& byte : noise) byte = static_cast<unsigned char>(random());
    SendRaw(noise);
    Deliver();  // the noise is drained: the gap
  }
  app.userName.clear();
  app.EndSession();
  window.closeCount = 0;
  Send(2, 0, {"alice"});
  Deliver();
  EXPECT_EQ(app.userName, "alice");
}

}  // namespace
}  // namespace tessik
