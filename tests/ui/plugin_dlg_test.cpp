#include "ui/plugin_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <set>

#include "session/settings.h"
#include "support/window_input.h"

namespace tessik {
namespace {

// Shown, whole inside its window and on top where it is clicked: a user sees it and can click it.
bool Reachable(QWidget* widget) {
  QWidget* window = widget == nullptr ? nullptr : widget->window();
  return widget != nullptr && widget->isVisible() &&
         window->rect().contains(QRect(widget->mapTo(window, QPoint()), widget->size())) &&
         window->childAt(Spot(widget)) == widget;
}

template <class Widget>
Widget* Labelled(QWidget* parent, const QString& text) {
  for (Widget* widget : parent->findChildren<Widget*>())
    if (widget->text() == text) return widget;
  return nullptr;
}

// Does open (a click, a key, a call) and plays the user in the modal window it brings up.
void InModal(const std::function<void()>& open, const std::function<void(QWidget*)>& act) {
  bool acted = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    watch.stop();
    acted = true;
    act(modal);
    EXPECT_FALSE(modal->isVisible()) << "left open: " << modal->windowTitle().toStdString();
    modal->close();
  });
  watch.start(1);
  open();
  EXPECT_TRUE(acted) << "no modal window opened";
}

class PluginDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    settings.showStatsInPlugin = 1;  // score lines into the box, where the test reads them
    app.mainWindow = &window;
    app.userName = "ann";
    app.opponentTotals = std::make_unique<OpponentTotalsList>();
    window.show();
  }
  QString Box() const { return window.outputBox()->toPlainText(); }

  CPluginApp app;
  CPluginDlg window{app};
};

TEST_F(PluginDlgTest, OutputBoxShowsLinesBelowEachOtherFollowsTheLastAndTakesNoTyping) {
  // A line is shown as UTF-8 when it is UTF-8, else as single-byte Latin-1 text.
  for (const char* line : {"Hello ann", "", "caf\xe9", "caf\xc3\xa9 \xe2\x99\x9e"})
    window.AddOutputLine(line);
  ClickOn(window.outputBox());
  QTest::keyClicks(window.outputBox(), "typed\b");
  EXPECT_EQ(Box(), QString::fromUtf8("Hello ann\n\ncafé\ncafé \u265e"));
  for (int i = 0; i < 100; ++i) window.AddOutputLine("line");
  QScrollBar* scroll = window.outputBox()->verticalScrollBar();
  EXPECT_TRUE(scroll->maximum() > 0 && scroll->value() == scroll->maximum());
}

// Enter or a click on OK looks the typed name up and empties the field; the window stays. The
// field and its button sit at the left of the row.
TEST_F(PluginDlgTest, EnterOrOkLooksUpTheTypedName) {
  EXPECT_LT(Labelled<QPushButton>(&window, "OK")->geometry().center().x(), window.width() / 2);
  app.opponentTotals->AddResult("bob", 0);
  const std::pair<const char*, bool> kCases[] = {
      {"bob", false}, {"bob", true}, {"", false}, {"", true}};  // true: a click on OK
  for (const auto& [typed, clickOk] : kCases) {
    window.outputBox()->clear();
    ClickOn(window.nameField());
    QTest::keyClicks(window.nameField(), typed);
    clickOk ? ClickOn(Labelled<QPushButton>(&window, "OK"))
            : QTest::keyClick(window.nameField(), Qt::Key_Return);
    EXPECT_EQ(Box().contains("bob"), *typed != '\0') << typed << clickOk;
    EXPECT_TRUE(window.nameField()->text().isEmpty() && window.isVisible()) << typed << clickOk;
  }
  app.opponentTotals.reset();  // no session: nothing to look up
  window.outputBox()->clear();
  QTest::keyClicks(window.nameField(), "bob");
  QTest::keyClick(window.nameField(), Qt::Key_Return);
  EXPECT_EQ(Box(), "");
}

// Each report of the Actions menu has every row on one line, widest handles and counts too, its
// figures in one column after the tab whatever the handle's width; a control byte in a handle
// shows in caret notation, as in the score lines.
TEST_F(PluginDlgTest, EachReportOfTheMenuFitsTheWindowRowByRow) {
  for (const char* handle :
       {"WWWWWWWWWWWWWWW", "MMMMMMMMMMMMMMM", "a", "mmmmmmmmmmmmmmm", "e\x1b[2J\r\x7f"})
    for (int i = 0; i < 9999; ++i) app.opponentTotals->AddResult(handle, i % 3);
  const std::pair<const char*, const char*> kCases[] = {
      {"Most 10", "Most games"}, {"Best", "Best:"}, {"Worst", "Worst:"}, {"Overall", "Overall"}};
  for (const auto& [entry, heading] : kCases) {
    window.outputBox()->clear();
    Choose(window, "Actions", entry);
    EXPECT_TRUE(Box().startsWith(heading)) << entry;
    EXPECT_GT(window.outputBox()->document()->blockCount(), 4) << entry;
    EXPECT_EQ(Box().contains("e^[[2J^M^?"), QString(entry) != "Overall") << entry;
    EXPECT_FALSE(Box().contains(QRegularExpression("[\\x00-\\x08\\x0b-\\x1f\\x7f]"))) << entry;
    std::set<int> figuresAt;  // where each row's text goes on after its tab
    for (QTextBlock block = window.outputBox()->document()->begin(); block.isValid();
         block = block.next()) {
      EXPECT_EQ(block.layout()->lineCount(), 1) << entry << ": " << block.text().toStdString();
      const int tab = static_cast<int>(block.text().indexOf('\t'));
      if (tab >= 0) figuresAt.insert(qRound(block.layout()->lineAt(0).cursorToX(tab + 1)));
    }
    EXPECT_EQ(figuresAt.size(), QString(entry) == "Overall" ? 0u : 1u) << entry;
  }
}

// The session's questions, true for Yes and Retry: Yes/No without an icon and No by default
// (Return), Retry/Cancel with a warning; CR LF in the text shows as a line break.
TEST_F(PluginDlgTest, QuestionBoxesAnswerWithTheButtonPicked) {
  using M = QMessageBox;
  const std::pair<M::StandardButton, bool> kCases[] = {
      {M::Yes, true}, {M::No, false}, {M::NoButton, false}, {M::Retry, true}, {M::Cancel, false}};
  for (const auto& [picked, answer] : kCases) {
    const bool yesNo = picked != M::Retry && picked != M::Cancel;
    bool said = !answer;
    InModal(
        [&] {
          said = yesNo ? window.AskYesNo("a\r\nb", "t") : window.AskRetryCancel("a\r\nb", "t");
        },
        [&](QWidget* modal) {
          auto* box = qobject_cast<QMessageBox*>(modal);
          EXPECT_EQ(box->windowTitle() + "|" + box->text(), "t|a\nb");
          EXPECT_EQ(box->icon(), yesNo ? M::NoIcon : M::Warning);
          picked == M::NoButton ? QTest::keyClick(box, Qt::Key_Return)
                                : ClickOn(box->button(picked));
        });
    EXPECT_EQ(said, answer) << picked;
  }
}

// Every check box of the two option dialogs shows where a user can click it, in its column,
// and turns over exactly its own setting when OK or Return accepts; Cancel changes nothing.
TEST_F(PluginDlgTest, EachOptionBoxTurnsOverItsOwnSetting) {
  using S = Settings;
  const char *out = "Stat Output", *general = "General";
  // The menu entry, the box, its setting, and the box right above it in its column.
  const std::tuple<const char*, const char*, uint8_t S::*, const char*> kCases[] = {
      {out, "All Games", &S::fingerAssessDisplayAll, nullptr},
      {out, "All, sorted by color", &S::fingerAssessDisplayAllBw, "All Games"},
      {out, "Rating types seperate", &S::fingerAssessDisplayRtypes, "All, sorted by color"},
      {out, "Rating types + color", &S::fingerAssessDisplayRtypesBw, "Rating types seperate"},
      {out, "all Games", &S::matchEtcDisplayAll, nullptr},
      {out, "all, sorted by color", &S::matchEtcDisplayAllBw, "all Games"},
      {out, "this rating type", &S::matchEtcDisplayRtype, "all, sorted by color"},
      {out, "rating type + color", &S::matchEtcDisplayRtypeBw, "this rating type"},
      {out, "Show Stats in Vexmoor", &S::showStatsInVexmoor, nullptr},
      {out, "Show Stats in Plugin", &S::showStatsInPlugin, nullptr},
      {out, "Be silent if no games found", &S::silentIfNoGames, "Show Stats in Vexmoor"},
      {out, "Show expected score", &S::showExpectedScore, "Show Stats in Plugin"},
      {general, "Close with Connection", &S::closeWithConnection, nullptr},
      {general, "Minimize to Systray", &S::minimizeToSystray, "Close with Connection"},
      {general, "Avoid idle disconnection", &S::preventIdleDisconnection, "Minimize to Systray"},
  };
  for (const auto& [entry, label, flag, under] : kCases) {
    for (int how : {0, 1, 2}) {  // a click on OK, Return, a click on Cancel
      Settings expected = settings = Settings{};
      if (how != 2) expected.*flag ^= 1;
      InModal([&] { Choose(window, "Options", entry); },
              [&](QWidget* dialog) {
                auto* box = Labelled<QCheckBox>(dialog, label);
                ASSERT_TRUE(Reachable(box)) << label;
                QWidget* above = under == nullptr ? nullptr : Labelled<QCheckBox>(dialog, under);
                EXPECT_TRUE(!above || (box->x() == above->x() && box->y() > above->y())) << label;
                ClickOn(box);
                how == 1 ? QTest::keyClick(dialog->windowHandle(), Qt::Key_Return)
                         : ClickOn(Labelled<QPushButton>(dialog, how == 2 ? "Cancel" : "OK"));
              });
      EXPECT_EQ(FormatSettingsFile(settings), FormatSettingsFile(expected)) << label << how;
    }
  }
}

// The idle command picked, else the one stored, is kept; pasted line breaks leave one line.
TEST_F(PluginDlgTest, BehaviourKeepsTheIdleCommandPickedOnOneLine) {
  // The method stored, the one picked from the top (-1: none), the one kept; the text pasted over
  // the stored "date" (none: ""), the text kept.
  const std::tuple<int, int, int, const char*, const char*> kCases[] = {
      {0, 2, 2, "brb\nback soon", "brb back soon"},
      {2, 0, 0, "tell bob hi\r\n", "tell bob hi"},
      {1, -1, 1, "a\r\n\r\nb", "a b"},
      {7, -1, -1, "", "date"}};
  for (const auto& [stored, picked, kept, pasted, text] : kCases) {
    settings.preventIdleMethod = stored;
    settings.preventIdleText = "date";
    QApplication::clipboard()->setText(pasted);
    InModal([&] { Choose(window, "Options", "General"); },
            [&](QWidget* dialog) {
              QList<QRadioButton*> radios = dialog->findChildren<QRadioButton*>();
              std::sort(radios.begin(), radios.end(),
                        [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
              if (picked >= 0) ClickOn(radios.value(picked));
              auto* field = dialog->findChild<QLineEdit*>();
              if (*pasted != '\0') {
                ClickOn(field);
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
              }
              ClickOn(Labelled<QPushButton>(dialog, "OK"));
            });
    EXPECT_EQ(settings.preventIdleMethod, kept) << stored;
    EXPECT_EQ(settings.preventIdleText, text) << stored;
  }
}

TEST_F(PluginDlgTest, AboutShowsItsIconAndTextsAndClosesOnOk) {
  InModal([&] { Choose(window, "About"); },
          [](QWidget* about) {
            EXPECT_EQ(about->windowTitle(), "About Tessik");
            QStringList texts;
            for (QLabel* label : about->findChildren<QLabel*>()) {
              EXPECT_TRUE(Reachable(label)) << label->text().toStdString();
              texts << (label->pixmap().isNull() ? label->text() : "(icon)");
            }
            EXPECT_TRUE(texts.contains("(icon)") && texts.contains("Author:"));
            EXPECT_EQ(texts.filter("Version ").size(), 1);
            ClickOn(Labelled<QPushButton>(about, "OK"));
          });
}

// With a tray (the CTest WindowTestsWithATray) the tray option sends the minimised window
// there; otherwise a minimise is ordinary and remembers nothing.
TEST_F(PluginDlgTest, MinimiseGoesToTheTrayWithTheOptionAndATray) {
  if (qEnvironmentVariableIsSet("TESSIK_EXPECT_TRAY")) {  // its panel may still be starting
    ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 60000));
  }
  const std::pair<uint8_t, bool> kCases[] = {{1, true}, {1, false}, {0, true}, {0, false}};
  for (const auto& [option, box] : kCases) {  // box: the minimise box, or the session's command
    settings.minimizeToSystray = option;
    settings.startMinimized = 0;
    CPluginDlg shown{app};
    shown.show();
    box ? shown.setWindowState(Qt::WindowMinimized) : shown.Minimize();
    const bool toTray = option != 0 && QSystemTrayIcon::isSystemTrayAvailable();
    const auto state = [&] {  // shown, minimised, in the tray, remembered there
      return std::tuple(shown.isVisible(), shown.isMinimized(), shown.trayIcon().isVisible(),
                        settings.startMinimized == 1);
    };
    QCoreApplication::processEvents();
    const auto expected = std::tuple(!toTray, !toTray, toTray, toTray);
    EXPECT_TRUE(QTest::qWaitFor([&] { return state() == expected; }, 60000))
        << option << box << ::testing::PrintToString(state());
  }
}

}  // namespace
}  // namespace tessik
