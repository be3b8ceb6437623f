#include <gtest/gtest.h>

#include "session/settings.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

class IdlePreventionTest : public SessionFixture {
 protected:
  // What the given number of ticks sent.
  std::vector<std::string> Ticks(int count) {
    for (int i = 0; i < count; ++i) app.OnIdleTimer();
    return Sent();
  }
};

TEST_F(IdlePreventionTest, NineteenthTickSendsTheCommandAndStartsAgain) {
  EXPECT_TRUE(Ticks(18).empty());
  EXPECT_EQ(app.idleMinutes, 54);
  EXPECT_EQ(Ticks(1), std::vector<std::string>{"2 date\\n"});
  EXPECT_EQ(app.idleMinutes, 0);
  EXPECT_EQ(Ticks(19).size(), 1u);
}

TEST_F(IdlePreventionTest, ActivityPutsTheCountBack) {
  Ticks(18);
  app.idleMinutes = 0;  // a game start, as the dispatcher resets it
  EXPECT_TRUE(Ticks(1).empty());
}

TEST_F(IdlePreventionTest, MethodChoosesTheCommand) {
  settings.preventIdleMethod = 1;
  settings.preventIdleText = "back soon";
  EXPECT_EQ(Ticks(19), std::vector<std::string>{"2 away back soon\\n"});
  settings.preventIdleMethod = 2;
  settings.preventIdleText = "tell relay hi";
  EXPECT_EQ(Ticks(19), std::vector<std::string>{"2 tell relay hi\\n"});
  settings.preventIdleText = "";
  EXPECT_EQ(Ticks(19), std::vector<std::string>{"2 date\\n"});
  settings.preventIdleMethod = 3;
  settings.preventIdleText = "x";
  EXPECT_TRUE(Ticks(19).empty());
  EXPECT_EQ(app.idleMinutes, 0);
}

}  // namespace
}  // namespace tessik
