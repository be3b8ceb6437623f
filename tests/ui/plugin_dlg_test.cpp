#include "ui/plugin_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "session/settings.h"
#include "support/temp_directory.h"
#include "ui/behaviour_dlg.h"
#include "ui/output_options_dlg.h"

namespace tessik {
namespace {

class PluginDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    settings.showStatsInPlugin = 1;  // score lines into the box, where the test reads them
    settings.showStatsInVexmoor = 0;
    SetDirectories(app, directory.path());
    std::filesystem::create_directory(app.dataDirectory);
    app.mainWindow = &window;
  }
  // A session whose log holds one won game against each opponent.
  void LogInWithGamesAgainst(std::initializer_list<const char*> opponents) {
    app.userName = "ann";
    app.opponentTotals = std::make_unique<OpponentTotalsList>();
    app.gameLog.assign(1, MarkerRecord());
    for (const char* opponent : opponents) {
      GameRecord game;
      SetOpponent(game, opponent);
      game.result = kUserWon;
      app.gameLog.push_back(game);
      app.opponentTotals->AddResult(opponent, 0);
    }
  }
  QString Box() const { return window.outputBox()->toPlainText(); }
  void Query(const QString& typed) {
    window.show();
    window.nameField()->setText(typed);
    QTest::keyClick(window.nameField(), Qt::Key_Return);
  }

  TempDirectory directory;
  CPluginApp app;
  CPluginDlg window{app};
};

// Runs what a user does in the next modal window once it is open.
void WithNextModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    act(modal);
  });
}

void AnswerNextBox(QMessageBox::StandardButton button, QString* asked) {
  WithNextModal([button, asked](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    *asked = box->windowTitle() + "|" + box->text();
    box->button(button)->click();
  });
}

TEST_F(PluginDlgTest, StartsNotConnected) {
  EXPECT_EQ(window.windowTitle(), "Tessik Plugin - not connected to Vexmoor");
  EXPECT_TRUE(window.OutputBoxEmpty());
  EXPECT_TRUE(window.outputBox()->isReadOnly());
  EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(PluginDlgTest, OutputLinesShowOneBelowTheOther) {
  AppendOutputLine(app, "");
  EXPECT_TRUE(window.OutputBoxEmpty());
  AppendOutputLine(app, "Hello ann");
  AppendOutputLine(app, "");
  AppendOutputLine(app, "caf\xe9");  // single-byte text
  EXPECT_EQ(Box(), QString::fromUtf8("Hello ann\n\ncafé"));
}

TEST_F(PluginDlgTest, QueryCompletesTheTypedName) {
  LogInWithGamesAgainst({"Abc", "abd", "carl"});
  Query("ab");
  EXPECT_EQ(Box(), "Score against Abc +1 =0 -0 (100%)");
  EXPECT_EQ(window.nameField()->text(), "");
  window.outputBox()->clear();
  Query("zz");  // after every opponent, a prefix of none: the last one
  EXPECT_EQ(Box(), "Score against carl +1 =0 -0 (100%)");
  window.outputBox()->clear();
  Query("aa");  // before every opponent: nothing, the field is cleared all the same
  EXPECT_EQ(Box(), "");
  EXPECT_EQ(window.nameField()->text(), "");
}

// The window has one size; every row of every report fits on one line of the output box, also
// with the widest handles and four-digit counts.
TEST_F(PluginDlgTest, ReportRowsFitTheFixedWindowWithoutWrapping) {
  const char* handles[] = {"WWWWWWWWWWWWWWW", "MMMMMMMMMMMMMMM", "a", "mmmmmmmmmmmmmmm"};
  LogInWithGamesAgainst({});
  for (const char* handle : handles) {
    for (int i = 0; i < 3333; ++i) {
      for (int index : {0, 1, 2}) app.opponentTotals->AddResult(handle, index);
    }
  }
  window.show();
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  for (const char* report : {"Most 10", "Best", "Worst", "Overall"}) {
    window.outputBox()->clear();
    window.MenuAction(report)->trigger();
    QTextDocument* document = window.outputBox()->document();
    ASSERT_GT(document->blockCount(), 4) << report;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      EXPECT_EQ(block.layout()->lineCount(), 1) << report << ": " << block.text().toStdString();
    }
  }
}

TEST_F(PluginDlgTest, EmptyFieldOrNoSessionPrintsNothing) {
  window.show();
  QTest::mouseClick(window.findChild<QAbstractButton*>("queryButton"), Qt::LeftButton);
  EXPECT_TRUE(window.isVisible());
  Query("bob");
  EXPECT_EQ(Box(), "");
  EXPECT_EQ(window.nameField()->text(), "");
}

TEST_F(PluginDlgTest, MenuRunsTheReports) {
  LogInWithGamesAgainst({"bob"});
  window.MenuAction("Most 10")->trigger();
  EXPECT_TRUE(Box().startsWith("Most games against:\nbob             \t(1)  +1"));
  window.outputBox()->clear();
  window.MenuAction("Overall")->trigger();
  EXPECT_EQ(Box(),
            "Overall score:\n1 games\n1 Opponents\n1 games won\n0 games drawn\n"
            "0 games lost\n100% overall");
  window.outputBox()->clear();
  window.MenuAction("Best")->trigger();
  window.MenuAction("Worst")->trigger();
  EXPECT_TRUE(Box().startsWith("Best:\nbob"));
  EXPECT_TRUE(Box().contains("\nWorst:\n"));
}

TEST_F(PluginDlgTest, TitleFollowsTheSession) {
  app.userName = "ann";
  app.Login();
  EXPECT_EQ(window.windowTitle(), "Personal Statistic for ann");
}

TEST_F(PluginDlgTest, EscapeAsksBeforeClosingThePlugin) {
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

// The labels of the checked boxes of a dialog, sorted.
QStringList Checked(QWidget* dialog) {
  QStringList labels;
  for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
    if (box->isChecked()) labels << box->text();
  }
  labels.sort();
  return labels;
}

QCheckBox* BoxLabelled(QWidget* dialog, const QString& label) {
  for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
    if (box->text() == label) return box;
  }
  return nullptr;
}

TEST_F(PluginDlgTest, OptionsShowTheDefaultsAndChangeOnlyOnOk) {
  settings = Settings{};
  QStringList shown;
  WithNextModal([&shown](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Options");
    shown = Checked(dialog);
    BoxLabelled(dialog, "Show expected score")->setChecked(true);
    BoxLabelled(dialog, "All Games")->setChecked(false);
    qobject_cast<QDialog*>(dialog)->reject();
  });
  window.MenuAction("Stat Output")->trigger();
  EXPECT_EQ(shown, (QStringList{"All Games", "Show Stats in Vexmoor", "all Games"}));
  EXPECT_EQ(settings.showExpectedScore, 0);
  WithNextModal([](QWidget* dialog) {
    BoxLabelled(dialog, "Show expected score")->setChecked(true);
    BoxLabelled(dialog, "All Games")->setChecked(false);
    qobject_cast<QDialog*>(dialog)->accept();
  });
  window.MenuAction("Stat Output")->trigger();
  EXPECT_EQ(settings.showExpectedScore, 1);
  EXPECT_EQ(settings.fingerAssessDisplayAll, 0);
}

// A command pasted with line breaks stays one line, so it is never sent as two commands.
TEST_F(PluginDlgTest, PastedIdleCommandStaysOneLine) {
  const std::pair<QString, std::string> cases[] = {
      {"brb\nback soon", "brb back soon"},
      {"tell bob hi\r\n", "tell bob hi"},
      {"a\r\n\r\nb", "a b"},
  };
  for (const auto& [pasted, stored] : cases) {
    QApplication::clipboard()->setText(pasted);
    WithNextModal([](QWidget* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>();
      edit->setFocus();
      QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
      qobject_cast<QDialog*>(dialog)->accept();
    });
    window.MenuAction("General")->trigger();
    EXPECT_EQ(settings.preventIdleText, stored) << pasted.toStdString();
    settings.preventIdleText.clear();
  }
}

TEST_F(PluginDlgTest, BehaviourShowsTheDefaultsAndStartsIdlePreventionOnOk) {
  settings = Settings{};
  QStringList shown;
  QString method;
  WithNextModal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Behaviour");
    shown = Checked(dialog);
    for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
      if (radio->isChecked()) method = radio->text();
    }
    BoxLabelled(dialog, "Avoid idle disconnection")->setChecked(true);
    qobject_cast<QDialog*>(dialog)->reject();
  });
  window.MenuAction("General")->trigger();
  EXPECT_EQ(shown, (QStringList{"Close with Connection", "Minimize to Systray"}));
  EXPECT_EQ(method, "date");
  EXPECT_FALSE(window.idleTimer().isActive());

  WithNextModal([](QWidget* dialog) {
    BoxLabelled(dialog, "Avoid idle disconnection")->setChecked(true);
    qobject_cast<QDialog*>(dialog)->accept();
  });
  window.MenuAction("General")->trigger();
  EXPECT_EQ(settings.preventIdleDisconnection, 1);
  EXPECT_TRUE(window.idleTimer().isActive());
  EXPECT_EQ(window.idleTimer().interval(), 180000);

  WithNextModal([](QWidget* dialog) {
    BoxLabelled(dialog, "Avoid idle disconnection")->setChecked(false);
    qobject_cast<QDialog*>(dialog)->accept();
  });
  window.MenuAction("General")->trigger();
  EXPECT_FALSE(window.idleTimer().isActive());
}

TEST(BehaviourDialog, MethodOutsideTheThreeChoosesNoneAndStoresMinusOne) {
  Settings edited;
  edited.preventIdleMethod = 7;
  edited.preventIdleText = " brb";
  CBehaviourDlg dialog;
  dialog.LoadFrom(edited);
  Settings stored;
  dialog.StoreTo(stored);
  EXPECT_EQ(stored.preventIdleMethod, -1);
  EXPECT_EQ(stored.preventIdleText, " brb");
}

TEST_F(PluginDlgTest, AboutBoxNamesTheVersion) {
  QString title;
  QStringList texts;
  WithNextModal([&](QWidget* dialog) {
    title = dialog->windowTitle();
    for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
    qobject_cast<QDialog*>(dialog)->accept();
  });
  window.MenuAction("About")->trigger();
  EXPECT_EQ(title, "About Tessik");
  EXPECT_TRUE(texts.contains("Version 1.2.05"));
  EXPECT_TRUE(texts.contains("Author:"));
}

// Tray tests need a desktop with a tray: Xvfb with trayer (tools/with-desktop.sh --tray). Where
// one is expected, the panel may still be starting: give it a few seconds.
bool TrayExpected() { return qEnvironmentVariableIsSet("TESSIK_EXPECT_TRAY"); }

bool TrayAvailable() {
  for (int wait = 0; wait < 100 && TrayExpected(); ++wait) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) break;
    QTest::qWait(50);
  }
  return QSystemTrayIcon::isSystemTrayAvailable();
}

#define REQUIRE_TRAY()                                                     \
  if (!TrayAvailable()) {                                                  \
    if (TrayExpected()) FAIL() << "a tray was expected on this display";   \
    GTEST_SKIP() << "no system tray here; WindowTestsWithATray runs this"; \
  }

TEST_F(PluginDlgTest, MinimiseBoxGoesToTheTray) {
  REQUIRE_TRAY();
  window.show();
  window.setWindowState(Qt::WindowMinimized);
  QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
  EXPECT_TRUE(window.trayIcon().isVisible());
}

TEST_F(PluginDlgTest, WithoutTheTrayOptionMinimiseIsOrdinary) {
  settings.minimizeToSystray = 0;
  window.show();
  window.Minimize();
  EXPECT_TRUE(window.isMinimized());
  EXPECT_FALSE(window.trayIcon().isVisible());
  EXPECT_EQ(settings.startMinimized, 0);
}

TEST_F(PluginDlgTest, WithoutATrayMinimiseIsOrdinaryAndRemembersNothing) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a tray";
  window.show();
  window.Minimize();
  EXPECT_TRUE(window.isVisible());  // not hidden away where nothing could bring it back
  EXPECT_TRUE(window.isMinimized());
  EXPECT_EQ(settings.startMinimized, 0);
}

}  // namespace
}  // namespace tessik
