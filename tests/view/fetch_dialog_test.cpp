// "Fetch games" as a player uses it when there is no record yet: an account typed, Fetch
// clicked, the download's progress read in the window, and Escape to stop it. The servers are a
// web server on 127.0.0.1 that answers as the test scripted; what the database holds afterwards
// is what tessik-stats says of it.
#include "view/fetch_dialog.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "support/lichess_stream.h"
#include "support/replay_server.h"
#include "support/stats_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using End = ScriptedAnswer::End;

// A month of chess.com's with two of those games.
ScriptedAnswer ChessComMonth() {
  nlohmann::json games = nlohmann::json::array();
  for (int n = 0; n < 2; ++n) {
    const std::string link = "https://www.chess.com/game/live/" + std::to_string(n + 1);
    games.push_back(
        {{"url", link}, {"pgn", LichessGame(n)}, {"time_class", "blitz"}, {"rules", "chess"}});
  }
  return {200, nlohmann::json{{"games", games}}.dump(), End::Whole, "application/json"};
}

// Each row: a server's answers, where the player presses Escape (once the progress shows that
// text; never when empty), then what the dialog says and what the database keeps.
TEST(FetchDialog, GamesComeInWithTheirProgressAndAStopKeepsWhatWasStored) {
  const std::string cut = "[Event \"x\"]\n\n1. e4 ";  // a game that never ends
  const std::string games = "/pub/player/quietrook/games/";
  const std::string kArchives = "https://api.chess.com" + games;
  struct Row {
    const char* name;
    bool chessCom;
    std::map<std::string, std::vector<ScriptedAnswer>> answers;
    QString stopWhen;
    QString says;         // how the dialog's status begins; empty: accepted, the view to open
    std::string sources;  // what tessik-stats sources then prints
  } rows[] = {
      {"a whole download opens the record",
       false,
       {{"/api/games/user/quietrook", {{200, LichessGames(0, 3)}}}},
       "",
       "",
       "lichess:quietrook  3 games fetched\n"},
      {"a stop in lichess's stream keeps every whole game",
       false,
       {{"/api/games/user/quietrook", {{200, LichessGames(0, 5001) + cut, End::Endless}}}},
       "lichess: 5000 games so far",
       "Stopped: 5001 games stored; the next fetch goes on from there.",
       "lichess:quietrook  5001 games fetched\n"},
      {"a stop while chess.com asks to wait keeps the months stored",
       true,
       {{games + "archives",
         {{200, "{\"archives\":[\"" + kArchives + "2025/01\",\"" + kArchives + "2025/02\"]}",
           End::Whole, "application/json"}}},
        {games + "2025/01", {ChessComMonth()}},
        {games + "2025/02", {{429, ""}}}},
       "chess.com asks for fewer requests",
       "Stopped: 2 games stored; the next fetch goes on from there.",
       "chesscom:quietrook  2 games fetched\n"},
      {"an unknown account stores nothing",
       false,
       {{"/api/games/user/quietrook", {{404, "{}", End::Whole, "application/json"}}}},
       "",
       "lichess, account \"quietrook\", HTTP 404: no such account",
       ""},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReplayServer server;
    for (auto& [path, answers] : row.answers) server.Script(path, answers);
    TempDirectory dir;
    setenv("XDG_DATA_HOME", (dir.path() + "/data").c_str(), 1);
    unsetenv("TESSIK_DB");
    setenv("TESSIK_LICHESS_URL", server.Url().c_str(), 1);
    setenv("TESSIK_CHESSCOM_URL", (server.Url() + "/").c_str(), 1);
    setenv("TESSIK_FETCH_WAIT_SECONDS", "3600", 1);  // chess.com's first wait: five minutes

    FetchDialog dialog({dir.path(), "", ""});
    dialog.show();
    if (row.chessCom) QTest::keyClick(dialog.server(), Qt::Key_Down);
    QTest::keyClicks(dialog.account(), "quiet;rook");  // only an account's characters go in
    QTest::mouseClick(dialog.fetchButton(), Qt::LeftButton);
    if (!row.stopWhen.isEmpty()) {
      ASSERT_TRUE(QTest::qWaitFor(
          [&] { return dialog.progress()->toPlainText().contains(row.stopWhen); }, 30000));
      QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.fetchButton()->isEnabled(); }, 30000));
    if (row.says.isEmpty()) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_FALSE(dialog.isVisible());
    } else {
      EXPECT_TRUE(dialog.status()->text().startsWith(row.says))
          << dialog.status()->text().toStdString();
      QTest::keyClick(&dialog, Qt::Key_Escape);  // closes; a stop that stored games shows them
      EXPECT_EQ(dialog.result(), row.sources.empty() ? QDialog::Rejected : QDialog::Accepted);
    }
    EXPECT_EQ(dialog.User(), row.sources.empty() ? "" : "quietrook");
    EXPECT_EQ(Stats(dir, "--user quietrook sources").out, row.sources);
  }
}

}  // namespace
}  // namespace tessik
