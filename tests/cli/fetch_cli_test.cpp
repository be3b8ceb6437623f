// tessik-stats fetch as a player uses it: an account's games from lichess and chess.com (a web
// server on 127.0.0.1 plays both), fetched again, the same games imported from a file, and the
// sources managed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/lichess_stream.h"
#include "support/replay_server.h"
#include "support/stats_run.h"

namespace tessik {
namespace {

// quietrook's games against Fen_Walker: a lichess game id, the day, and the result from White.
struct Played {
  std::string id, day, result;
  bool white;
};
const std::vector<Played> kLichess = {{"aB3dE5gH", "2025.03.01", "0-1", true},
                                      {"cD4eF6hI", "2025.03.02", "1-0", false},
                                      {"eF5gH7iJ", "2025.03.03", "1/2-1/2", true}};
const std::vector<Played> kChessCom = {{"100000000001", "2025.03.02", "1-0", true},
                                       {"100000000002", "2025.03.04", "0-1", true}};

// One of kLichess's games as lichess sends it.
std::string LichessGame(const Played& p) {
  const std::string user = "\"quietrook\"", other = "\"Fen_Walker_of_the_long_name\"";
  return "[Event \"Rated Blitz game\"]\n[Site \"https://lichess.org/" + p.id + "\"]\n[Date \"" +
         p.day + "\"]\n[White " + (p.white ? user : other) + "]\n[Black " +
         (p.white ? other : user) + "]\n[Result \"" + p.result + "\"]\n[UTCDate \"" + p.day +
         "\"]\n[UTCTime \"19:10:04\"]\n[WhiteElo \"1712\"]\n[BlackElo \"1790\"]\n"
         "[Variant \"Standard\"]\n[TimeControl \"180+2\"]\n[ECO \"C50\"]\n"
         "[Opening \"Italian Game\"]\n[Termination \"Normal\"]\n\n1. e4 e5 " +
         p.result + "\n";
}

std::string LichessPgn() {
  std::string pgn;
  for (const Played& p : kLichess) pgn += LichessGame(p) + "\n\n";
  return pgn;
}

// kLichess's games as a month of chess.com would carry them.
std::string ChessComMonthOfLichessGames() {
  nlohmann::json games = nlohmann::json::array();
  for (size_t i = 0; i < kLichess.size(); ++i) {
    const std::string link = "https://www.chess.com/game/live/20000000000" + std::to_string(i);
    std::string pgn = LichessGame(kLichess[i]);
    const size_t site = pgn.find("[Site ");
    pgn.replace(site, pgn.find('\n', site) - site, "[Site \"Chess.com\"]\n[Link \"" + link + "\"]");
    games.push_back({{"url", link}, {"pgn", pgn}, {"time_class", "blitz"}, {"rules", "chess"}});
  }
  return nlohmann::json{{"games", games}}.dump();
}

std::string ChessComMonth() {
  std::string games;
  for (const Played& p : kChessCom) {
    const std::string link = "https://www.chess.com/game/live/" + p.id;
    const std::string pgn = "[Event \\\"Live Chess\\\"]\\n[Site \\\"Chess.com\\\"]\\n[Date \\\"" +
                            p.day +
                            "\\\"]\\n[White \\\"QuietRook\\\"]\\n[Black \\\"Fen_Walker_of_"
                            "the_long_name\\\"]\\n[Result \\\"" +
                            p.result + "\\\"]\\n[UTCDate \\\"" + p.day +
                            "\\\"]\\n[UTCTime \\\"08:41:17\\\"]\\n[WhiteElo \\\"1644\\\"]\\n"
                            "[BlackElo \\\"1630\\\"]\\n[TimeControl \\\"600\\\"]\\n[Link \\\"" +
                            link + "\\\"]\\n\\n1. e4 e5 " + p.result + "\\n";
    games += std::string(games.empty() ? "" : ",") + "{\"url\":\"" + link + "\",\"pgn\":\"" + pgn +
             "\",\"time_class\":\"rapid\",\"rules\":\"chess\"}";
  }
  return "{\"games\":[" + games + "]}";
}

TEST(FetchCli, BothServersFetchedTwiceAndTheSameGamesFromAFileCountOnce) {
  ReplayServer server;
  server.Script("/api/games/user/quietrook", {{200, LichessPgn()}});
  ScriptedAnswer month(200, ChessComMonth(), ScriptedAnswer::End::Whole, "application/json",
                       {{"ETag", "\"m1\""}});
  server.Script(
      "/pub/player/quietrook/games/archives",
      {{200, "{\"archives\":[\"https://api.chess.com/pub/player/quietrook/games/2025/03\"]}",
        ScriptedAnswer::End::Whole, "application/json"}});
  server.Script("/pub/player/quietrook/games/2025/03", {month, {304, ""}});
  const std::string servers = "TESSIK_LICHESS_URL=" + server.Url() +
                              " TESSIK_CHESSCOM_URL=" + server.Url() +
                              " TESSIK_FETCH_WAIT_SECONDS=0";
  TempDirectory dir;
  // command; what it prints
  const std::pair<std::string, std::string> kRuns[] = {
      {"--user ann fetch lichess quietrook", "lichess quietrook: 3 games received, 3 new\n"},
      {"--user ann fetch chesscom QuietRook", "chesscom QuietRook: 2 games received, 2 new\n"},
      {"--user ann fetch",
       "lichess quietrook: 3 games received, 0 new\nchesscom QuietRook: 0 games received, 0 "
       "new\n"},
      {"--user ann sources",
       "lichess:quietrook  3 games fetched\nchesscom:QuietRook  2 games fetched\n"},
  };
  for (const auto& [arguments, printed] : kRuns) {
    const StatsRun run = Stats(dir, arguments, servers);
    EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
    EXPECT_EQ(run.out, printed) << arguments;
  }
  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 6u);
  // The second lichess fetch from 30 days before the newest game held (2025-03-03 19:10:04).
  EXPECT_EQ(requests[3].target,
            "/api/games/user/quietrook?sort=dateAsc&finished=true&opening=true&since=" +
                std::to_string((1741029004 - 30 * 86400) * 1000LL));
  EXPECT_EQ(requests[5].Header("if-none-match"), "\"m1\"");
  // lichess's games again from a file: held already, by their ids.
  WriteFile(dir / "export.pgn", LichessPgn());
  EXPECT_EQ(Stats(dir, "--user ann import export.pgn --player quietrook").out.substr(0, 60),
            "Read 3 games from export.pgn: 0 added, 3 already in the data");
  // The whole name; each server's games, and both. Without --user and without a log, the only
  // database says whose record it is.
  const std::string name = "Fen_Walker_of_the_long_name";
  // filter; the score; the servers counted
  const std::tuple<std::string, std::string, std::string> kFiltered[] = {
      {"--server lichess", "+0 =1 -2", "lichess"},
      {"--server chesscom", "+1 =0 -1", "chesscom"},
      {"", "+1 =1 -3", "chesscom, lichess"}};
  for (const auto& [filter, games, counted] : kFiltered) {
    const StatsRun run = Stats(dir, "score " + name + " " + filter);
    EXPECT_EQ(run.out.substr(0, run.out.find(" (")),
              "Score against Fen_Walker_of_the_long_name " + games)
        << filter << run.err;
    EXPECT_TRUE(run.out.ends_with("/ann.sqlite (" + counted + ")\n")) << run.out;
  }
  // One name on two servers: two players; only those ranked, in columns.
  const std::string ranked = Stats(dir, "rank most").out;
  EXPECT_EQ(ranked.substr(0, ranked.find("\n\n")),
            "Most games against:\n"
            "Opponent                                Games  +  =  -  Score\n" +
                name + " (lichess)       3  0  1  2    17%\n" + name +
                " (chesscom)      2  1  0  1    50%");
  const std::string surprise = Stats(dir, "rank surprise --min-games 1").out;
  EXPECT_EQ(surprise.substr(0, surprise.find("\n\n")),  // by the 1/32-point table
            "Against the ratings (at least 1 game with both ratings known):\n"
            "Opponent                                Games  Points  Expected  Difference\n" +
                name + " (chesscom)      2     1.0       1.1        -0.1\n" + name +
                " (lichess)       3     0.5       1.4        -0.9");
  EXPECT_EQ(Stats(dir, "--user ann forget chesscom:QuietRook --yes").out,
            "Forgot 2 games of chesscom:QuietRook\n");
  EXPECT_EQ(Stats(dir, "--user ann sources").out, "lichess:quietrook  3 games fetched\n");
}

// The same three games as lichess sends them, as chess.com does and as a PGN file of neither
// holds them: each in a database of its own, they give the same score, ranking and history.
TEST(FetchCli, TheSameGamesFromEitherServerOrAFileCountTheSame) {
  ReplayServer server;
  const std::string months = "https://api.chess.com/pub/player/quietrook/games/2025/03";
  server.Script("/api/games/user/quietrook", {{200, LichessPgn()}});
  server.Script("/pub/player/quietrook/games/archives",
                {{200, "{\"archives\":[\"" + months + "\"]}", ScriptedAnswer::End::Whole,
                  "application/json"}});
  server.Script(
      "/pub/player/quietrook/games/2025/03",
      {{200, ChessComMonthOfLichessGames(), ScriptedAnswer::End::Whole, "application/json"}});
  const std::string servers =
      "TESSIK_LICHESS_URL=" + server.Url() + " TESSIK_CHESSCOM_URL=" + server.Url();
  TempDirectory dir;
  std::string plain = LichessPgn();  // without the lichess's Site, a game of no server
  for (size_t at; (at = plain.find("[Site ")) != std::string::npos;) {
    plain.erase(at, plain.find('\n', at) + 1 - at);
  }
  WriteFile(dir / "games.pgn", plain);
  for (const char* run : {"--user a fetch lichess quietrook", "--user b fetch chesscom quietrook",
                          "--user c import games.pgn --player quietrook"}) {
    const StatsRun fetched = Stats(dir, run, servers);
    EXPECT_EQ(fetched.status, 0) << run << ": " << fetched.err;
  }
  // Each server named in the text, as "(lichess)" or in a pool's name ("lichess blitz"), is
  // named alike, and the columns' widths that follow from its name are left aside.
  const auto sameServer = [](std::string text) {
    for (const std::string name : {"lichess", "chesscom", "pgn"}) {
      for (const std::string& named : {"(" + name + ")", name + " blitz"}) {
        for (size_t at; (at = text.find(named)) != std::string::npos;) {
          text.replace(at, name.size() + (named[0] == '(' ? 2 : 0), "(server)");
        }
      }
    }
    for (size_t at; (at = text.find("  ")) != std::string::npos;) text.erase(at, 1);
    return text.substr(0, text.find("\nCounted: "));
  };
  for (const char* command :
       {"score Fen_Walker_of_the_long_name", "rank most", "rank overall", "history --by month"}) {
    const std::string lichess = Stats(dir, std::string("--user a ") + command).out;
    EXPECT_NE(lichess.find('3'), std::string::npos) << command << ": " << lichess;
    EXPECT_EQ(sameServer(Stats(dir, std::string("--user b ") + command).out), sameServer(lichess))
        << command;
    EXPECT_EQ(sameServer(Stats(dir, std::string("--user c ") + command).out), sameServer(lichess))
        << command;
  }
}

// A fetch that fails says why in one line naming the server, the account and the HTTP status,
// and exits with 2, keeping the whole games that came before the fault; an account that brought
// nothing is not remembered. A name that is no account is refused before any request.
TEST(FetchCli, AFailedFetchSaysWhyAndAddsNothing) {
  struct Row {
    const char* arguments;
    std::vector<ScriptedAnswer> lichess;
    int status;
    std::string err;   // how the standard error begins
    std::string held;  // what sources says after it
  } rows[] = {
      {"fetch lichess quietrook",
       {{429, ""}, {200, LichessGames(0, 3)}},
       0,
       "",
       "lichess:quietrook  3 games fetched\n"},
      {"fetch lichess ghost",
       {{404, "{}", ScriptedAnswer::End::Whole, "application/json"}},
       2,
       "tessik-stats: lichess, account \"ghost\", HTTP 404: no such account\n",
       ""},
      {"fetch lichess quietrook",
       {{200, LichessGames(0, 2) + "[Event \"x\"]\n\n1. e4 ", ScriptedAnswer::End::Endless}},
       2,
       "tessik-stats: lichess, account \"quietrook\", HTTP 200: a game longer than 1 MiB",
       "lichess:quietrook  2 games fetched\n"},
      {"fetch lichess '../quietrook'", {}, 1, "tessik-stats: ACCOUNT: not an account name", ""},
      {"fetch chesscom 'a;b'", {}, 1, "tessik-stats: ACCOUNT: not an account name", ""},
      {"fetch lichess abcdefghijklmnopqrstuvwxyz01234",
       {},
       1,
       "tessik-stats: ACCOUNT: not an account name",
       ""},
      {"fetch lichess abcdefghijklmnopqrstuvwxyz0123",
       {{200, ""}},
       0,
       "",  // 30 characters
       "lichess:abcdefghijklmnopqrstuvwxyz0123  0 games fetched\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    ReplayServer server;
    const std::string arguments = row.arguments;
    server.Script("/api/games/user/" + arguments.substr(arguments.rfind(' ') + 1), row.lichess);
    TempDirectory dir;
    const std::string environment = "TESSIK_LICHESS_URL=" + server.Url() +
                                    " TESSIK_CHESSCOM_URL=" + server.Url() +
                                    " TESSIK_FETCH_WAIT_SECONDS=0";
    const StatsRun run = Stats(dir, std::string("--user ann ") + row.arguments, environment);
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.err.substr(0, row.err.size()), row.err);
    if (row.status == 2) {  // one line
      EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
    }
    EXPECT_EQ(Stats(dir, "--user ann sources").out, row.held);
    if (row.lichess.empty()) {
      EXPECT_TRUE(server.Requests().empty());
    }
  }
}

// Killed with SIGKILL while the server still sends (5,000 games committed, the next one not yet
// whole), a fetch leaves whole games only, and the next fetch goes on from there.
TEST(FetchCli, AFetchKilledMidStreamKeepsWholeGamesAndTheNextGoesOn) {
  ReplayServer server;
  server.Script(
      "/api/games/user/quietrook",
      {{200, LichessGames(0, 5001), ScriptedAnswer::End::Endless}, {200, LichessGames(0, 6200)}});
  const std::string environment = "TESSIK_LICHESS_URL=" + server.Url();
  TempDirectory dir;
  const pid_t fetch = fork();
  if (fetch == 0) {
    execl("/bin/sh", "sh", "-c",
          ("cd " + dir.path() + " && exec env XDG_DATA_HOME=" + dir.path() + "/data " +
           environment + " " TESSIK_STATS " --user ann fetch lichess quietrook >/dev/null")
              .c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string held;
  for (int tries = 0; tries < 600 && held.find(" 5000 games") == std::string::npos; ++tries) {
    usleep(100'000);
    held = Stats(dir, "--user ann sources").out;
  }
  ASSERT_EQ(kill(fetch, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(waitpid(fetch, &status, 0), fetch);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(Stats(dir, "--user ann sources").out, "lichess:quietrook  5000 games fetched\n");
  const StatsRun again = Stats(dir, "--user ann fetch lichess quietrook", environment);
  EXPECT_EQ(again.out, "lichess quietrook: 6200 games received, 1200 new\n") << again.err;
  EXPECT_EQ(nlohmann::json::parse(Stats(dir, "--user ann rank overall --json").out)["games"], 6200);
}

}  // namespace
}  // namespace tessik
