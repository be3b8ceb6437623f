#include "ui/plugin_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "support/temp_directory.h"

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

// Answers the next message box with the given button once it is open.
void AnswerNextBox(QMessageBox::StandardButton button, QString* text) {
  QTimer::singleShot(0, [button, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    *text = box->windowTitle() + "|" + box->text();
    box->button(button)->click();
  });
}

TEST_F(PluginDlgTest, EscapeAsksBeforeClosingThePlugin) {
  TempDirectory directory;
  SetDirectories(app, directory.path());
  window.show();
  QString asked;
  AnswerNextBox(QMessageBox::No, &asked);
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(asked, "Close Plugin?|This will close the plugin (not only the window)");
  EXPECT_TRUE(window.isVisible());
  AnswerNextBox(QMessageBox::Yes, &asked);
  window.close();  // the close box asks the same
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Plugin not connected");
}

TEST_F(PluginDlgTest, WriteErrorBoxOffersRetryAndCancel) {
  QString asked;
  AnswerNextBox(QMessageBox::Retry, &asked);
  app.applicationName = "tessik";
  EXPECT_TRUE(app.ShowWriteError(13, "*.ini"));
  EXPECT_TRUE(
      asked.startsWith("tessik|A write error occured with the *.ini-file.\nReason: disk full"));
  AnswerNextBox(QMessageBox::Cancel, &asked);
  EXPECT_FALSE(app.ShowWriteError(13, "*.ini"));
}

}  // namespace
}  // namespace tessik
