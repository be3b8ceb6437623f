#include "ui/plugin_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

namespace tessik {
namespace {

class PluginDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { app.mainWindow = &window; }

  CPluginApp app;
  CPluginDlg window{app};
};

TEST_F(PluginDlgTest, StartsNotConnected) {
  EXPECT_EQ(window.windowTitle(), "Tessik Plugin - not connected to Vexmoor");
  EXPECT_TRUE(window.OutputBoxEmpty());
  EXPECT_TRUE(window.outputBox()->isReadOnly());
}

TEST_F(PluginDlgTest, OutputLinesShowOneBelowTheOther) {
  AppendOutputLine(app, "");
  EXPECT_TRUE(window.OutputBoxEmpty());
  AppendOutputLine(app, "Hello ann");
  AppendOutputLine(app, "");
  AppendOutputLine(app, "caf\xe9");  // single-byte text
  EXPECT_FALSE(window.OutputBoxEmpty());
  EXPECT_EQ(window.outputBox()->toPlainText(), QString::fromUtf8("Hello ann\n\ncafé"));
}

TEST_F(PluginDlgTest, TitleFollowsTheSession) {
  app.userName = "ann";
  app.Login();
  EXPECT_EQ(window.windowTitle(), "Personal Statistic for ann");
}

TEST_F(PluginDlgTest, EnterClearsTheNameFieldAndKeepsTheWindowOpen) {
  window.show();
  window.nameField()->setText("bob");
  QTest::keyClick(window.nameField(), Qt::Key_Return);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.nameField()->text(), "");
}

}  // namespace
}  // namespace tessik
