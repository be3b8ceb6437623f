#include <gtest/gtest.h>

#include "session/settings.h"
#include "support/session_fixture.h"

namespace tessik {
namespace {

using OutputRoutingTest = SessionFixture;

TEST_F(OutputRoutingTest, ScoreLinesFollowTheTwoShowSettings) {
  settings.showStatsInPlugin = 1;
  settings.showStatsInVexmoor = 0;
  OutputStatLine(app, "Score against bob +1 =0 -0 (100%)");
  EXPECT_EQ(window.text, "Score against bob +1 =0 -0 (100%)");
  EXPECT_TRUE(Sent().empty());

  settings.showStatsInPlugin = 0;
  OutputStatLine(app, "dropped");
  EXPECT_EQ(window.text, "Score against bob +1 =0 -0 (100%)");
  EXPECT_TRUE(Sent().empty());

  settings.showStatsInPlugin = 2;  // any value but 0 is on
  settings.showStatsInVexmoor = 1;
  OutputStatLine(app, "both");
  EXPECT_EQ(window.text, "Score against bob +1 =0 -0 (100%)\r\nboth");
  EXPECT_EQ(Sent(), std::vector<std::string>{"3 both\\n"});
}

}  // namespace
}  // namespace tessik
