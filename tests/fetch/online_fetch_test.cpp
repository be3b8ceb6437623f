// The downloads from lichess and chess.com, each through a real HTTP exchange with a server on
// 127.0.0.1 that answers as the test scripted.
#include "fetch/online_fetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/replay_server.h"
#include "version.h"

namespace tessik {
namespace {

using End = ScriptedAnswer::End;

// A lichess game as the server sends it; games of a stream are two blank lines apart.
std::string LichessGame(int n) {
  return "[Event \"Rated Blitz game\"]\n[Site \"https://lichess.org/g" + std::to_string(n) +
         "\"]\n[White \"quietrook\"]\n[Black \"Fen_Walker\"]\n[Result \"0-1\"]\n\n1. e4 "
         "{[%clk 0:03:00]} 1... e5 0-1\n";
}
std::string LichessGames(int from, int count) {
  std::string stream;
  for (int n = from; n < from + count; ++n) stream += LichessGame(n) + "\n\n";
  return stream;
}

struct Outcome {
  std::vector<size_t> batches;       // lichess: the sizes of the batches handed on
  std::vector<FetchedGame> games;    // every game handed on, in order
  std::vector<FetchedMonth> months;  // chess.com: the months handed on
  std::vector<std::string> progress;
  std::string error;  // the FetchError's text; empty when none was thrown
};

FetchHooks HooksInto(Outcome& out) {
  return {[&out](std::vector<FetchedGame>&& batch) {
            out.batches.push_back(batch.size());
            out.games.insert(out.games.end(), batch.begin(), batch.end());
          },
          [&out](const FetchedMonth& month, std::vector<FetchedGame>&& games) {
            out.months.push_back(month);
            out.games.insert(out.games.end(), games.begin(), games.end());
          },
          [&out](std::string_view line) { out.progress.emplace_back(line); },
          {}};
}

// What a download handed on, said and threw.
template <class Fetch>
Outcome Run(const Fetch& fetch) {
  Outcome out;
  try {
    fetch(HooksInto(out));
  } catch (const FetchError& e) {
    out.error = e.what();
  }
  return out;
}
Outcome Lichess(std::string_view account, std::optional<int64_t> since = {},
                const std::string& token = "lip_s3cret") {
  return Run([&](const FetchHooks& hooks) { FetchLichess(account, since, token, hooks); });
}
Outcome ChessCom(std::string_view account, const std::vector<FetchedMonth>& fetched = {}) {
  return Run([&](const FetchHooks& hooks) { FetchChessCom(account, fetched, hooks); });
}

class OnlineFetch : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TESSIK_LICHESS_URL", server.Url().c_str(), 1);
    setenv("TESSIK_CHESSCOM_URL", (server.Url() + "/").c_str(), 1);
    setenv("TESSIK_FETCH_WAIT_SECONDS", "0", 1);
  }
  ReplayServer server;
};

constexpr char kGamesPath[] = "/api/games/user/quietrook";
const std::string kQuery = "?sort=dateAsc&finished=true&opening=true";

ScriptedAnswer Json(int status, const std::string& body, End end = End::Whole) {
  return {status, body, end, "application/json"};
}

TEST_F(OnlineFetch, LichessStreamsWholeGamesInBatchesAndStopsCleanlyAtEveryFault) {
  const std::string partial = "[Event \"Rated Blitz game\"]\n[Site \"https://lichess.org/p\"]\n";
  const ScriptedAnswer cut{200, LichessGames(0, 2) + partial, End::CutOff};
  const ScriptedAnswer endless{200, partial + "\n1. e4 e5 ", End::Endless};
  const ScriptedAnswer html{200, "<!DOCTYPE html><p>No</p>", End::Whole, "text/html"};
  struct Row {
    const char* name;
    std::vector<ScriptedAnswer> answers;
    std::optional<int64_t> since;
    std::vector<size_t> batches;
    std::string error;  // how it begins after "lichess, account \"quietrook\""
    size_t requests = 1;
  } rows[] = {
      {"first fetch, a batch and the rest",
       {{200, LichessGames(0, kLichessBatchGames + 1)}},
       {},
       {kLichessBatchGames, 1},
       ""},
      {"since", {{200, "\n" + LichessGames(0, 2)}}, 1740856204000, {2}, ""},
      {"no games", {{200, ""}}, {}, {}, ""},
      {"cut mid-game", {cut}, {}, {2}, ", HTTP 200: the download broke off after 2 games: "},
      {"429 then games", {{429, ""}, {200, LichessGames(0, 1)}}, {}, {1}, "", 2},
      {"always 429", {{429, ""}}, {}, {}, ", HTTP 429: still too many requests after waiting", 4},
      {"unknown account", {Json(404, "{}")}, {}, {}, ", HTTP 404: no such account"},
      {"server error", {Json(500, "{}")}, {}, {}, ", HTTP 500: the server answered"},
      {"endless game", {endless}, {}, {}, ", HTTP 200: a game longer than 1 MiB; the download"},
      {"not PGN", {html}, {}, {}, ", HTTP 200: the answer is not PGN"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReplayServer fresh;
    setenv("TESSIK_LICHESS_URL", fresh.Url().c_str(), 1);
    fresh.Script(kGamesPath, row.answers);
    const Outcome out = Lichess("quietrook", row.since);
    EXPECT_EQ(out.batches, row.batches);
    for (size_t i = 0; i < out.games.size(); ++i) EXPECT_EQ(out.games[i].pgn, LichessGame(i));
    if (row.error.empty()) {
      EXPECT_EQ(out.error, "");
      ASSERT_FALSE(out.progress.empty());
      EXPECT_EQ(out.progress.back(), "lichess: " + std::to_string(out.games.size()) +
                                         (out.games.size() == 1 ? " game" : " games"));
    } else {
      EXPECT_EQ(out.error.rfind("lichess, account \"quietrook\"" + row.error, 0), 0) << out.error;
    }
    EXPECT_EQ(out.error.find("s3cret"), std::string::npos);
    const std::vector<RecordedRequest> requests = fresh.Requests();
    ASSERT_FALSE(requests.empty());
    for (const RecordedRequest& request : requests) {
      EXPECT_EQ(request.target,
                kGamesPath + kQuery + (row.since ? "&since=" + std::to_string(*row.since) : ""));
      EXPECT_EQ(request.Header("authorization"), "Bearer lip_s3cret");
      EXPECT_EQ(request.Header("accept"), "application/x-pgn");
    }
    EXPECT_EQ(requests.size(), row.requests);
  }
}

TEST_F(OnlineFetch, RequestsNameTessikAndAcceptCompressionAndAWaitIsSaid) {
  server.Script(kGamesPath, {{429, ""}, {200, LichessGames(0, 1)}});
  const Outcome out = Lichess("quietrook", {}, "");
  EXPECT_EQ(out.progress.front(), "lichess asks for fewer requests: asking again in 0 seconds");
  const RecordedRequest request = server.Requests().at(0);
  EXPECT_EQ(request.Header("user-agent").rfind(std::string("Tessik/") + kVersion + " (", 0), 0);
  EXPECT_NE(request.Header("user-agent").find(kContact), std::string::npos);
  EXPECT_NE(request.Header("accept-encoding").find("gzip"), std::string::npos);
  EXPECT_EQ(request.headers.count("authorization"), 0u);
}

// chess.com's answers: the list of months (as URLs of its own host), then each month.
ScriptedAnswer Archives(const std::vector<std::string>& months) {
  std::string list;
  for (const std::string& m : months) {
    list += (list.empty() ? "\"" : ",\"") +
            ("https://api.chess.com/pub/player/quietrook/games/" + m) + "\"";
  }
  return Json(200, "{\"archives\":[" + list + "]}");
}
ScriptedAnswer Month(int games, const std::string& etag) {
  std::string list;
  for (int n = 0; n < games; ++n) {
    list += std::string(n ? "," : "") + "{\"url\":\"https://www.chess.com/game/live/" +
            std::to_string(n) + "\",\"pgn\":\"[Event \\\"Live Chess\\\"]\\n\\n1. e4 1-0\\n\"," +
            "\"time_class\":\"rapid\",\"rules\":\"chess\",\"rated\":true}";
  }
  ScriptedAnswer month = Json(200, "{\"games\":[" + list + "]}");
  month.headers.emplace("ETag", etag);
  return month;
}

TEST_F(OnlineFetch, ChessComWalksTheMonthsNotFetchedAndTheNewestAgain) {
  const std::string player = "/pub/player/quietrook/games/";
  const std::map<std::string, std::string> served = {
      {"2025/02", "\"f2\""}, {"2025/03", "\"m2\""}, {"2025/04", "\"a2\""}};
  const FetchedMonth february{"2025/02", "\"f1\"", ""};
  const FetchedMonth march{"2025/03", "\"m1\"", "Sun, 02 Mar 2025 09:00:00 GMT"};
  const std::vector<ScriptedAnswer> same = {{304, ""}}, notFound = {Json(404, "{}")},
                                    busy = {{429, ""}, Archives({"2025/02"})},
                                    more = {Archives({"2025/02", "2025/03", "2025/04"})},
                                    badList = {Json(200, "{\"archives\":[")},
                                    bad = {Json(200, "{\"games\":[{\"url\":\"x\"}]}")},
                                    endless = {Json(200, "{\"archives\":[\"x\",", End::Endless)};
  struct Row {
    const char* name;
    std::vector<FetchedMonth> fetched;
    std::map<std::string, std::vector<ScriptedAnswer>> answers;  // in place of the usual ones
    std::string asked, handed;  // the months asked for and handed on, in order
    std::string error;          // how it begins after "chess.com, account \"QuietRook\""
  } rows[] = {
      {"first fetch", {}, {}, "02 03 ", "02 03 ", ""},
      {"again, unchanged", {february, march}, {{"2025/03", same}}, "03 ", "", ""},
      {"new months", {march}, {{"archives", more}, {"2025/03", same}}, "02 03 04 ", "02 04 ", ""},
      {"429 then the list", {}, {{"archives", busy}}, "02 ", "02 ", ""},
      {"unknown account", {}, {{"archives", notFound}}, "", "", ", HTTP 404: no such account"},
      {"a list of no JSON", {}, {{"archives", badList}}, "", "", ", HTTP 200: the list of months"},
      {"bad month", {}, {{"2025/03", bad}}, "02 03 ", "02 ", ", HTTP 200: the games of 2025/03"},
      {"endless list", {}, {{"archives", endless}}, "", "", ", HTTP 200: an answer longer than"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReplayServer fresh;
    setenv("TESSIK_CHESSCOM_URL", fresh.Url().c_str(), 1);
    std::map<std::string, std::vector<ScriptedAnswer>> answers = {
        {"archives", {Archives({"2025/03", "2025/02"})}},
        {"2025/02", {Month(2, served.at("2025/02"))}},
        {"2025/03", {Month(1, served.at("2025/03"))}},
        {"2025/04", {Month(3, served.at("2025/04"))}}};
    for (const auto& [path, answer] : row.answers) answers[path] = answer;
    for (const auto& [path, answer] : answers) fresh.Script(player + path, answer);
    const Outcome out = ChessCom("QuietRook", row.fetched);
    std::string asked, handed;
    for (const RecordedRequest& request : fresh.Requests()) {
      const std::string month = request.path.substr(player.size());
      if (month == "archives") continue;
      asked += month.substr(5) + " ";
      const auto before = std::find_if(row.fetched.begin(), row.fetched.end(),
                                       [&](const FetchedMonth& m) { return m.month == month; });
      EXPECT_EQ(request.Header("if-none-match") + "|" + request.Header("if-modified-since"),
                before == row.fetched.end() ? "|" : before->etag + "|" + before->lastModified);
    }
    for (const FetchedMonth& month : out.months) {
      handed += month.month.substr(5) + " ";
      EXPECT_EQ(month.etag, served.at(month.month));
    }
    EXPECT_EQ(asked, row.asked);
    EXPECT_EQ(handed, row.handed);
    for (const FetchedGame& game : out.games) {
      EXPECT_EQ(game.pgn, "[Event \"Live Chess\"]\n\n1. e4 1-0\n");
      EXPECT_EQ(game.timeClass + " " + game.rules, "rapid chess");
    }
    EXPECT_EQ(out.error.rfind("chess.com, account \"QuietRook\"" + row.error, 0),
              row.error.empty() ? std::string::npos : 0)
        << out.error;
  }
}

TEST_F(OnlineFetch, ChessComSaysMonthByMonthWhatCame) {
  server.Script("/pub/player/quietrook/games/archives", {Archives({"2025/02", "2025/03"})});
  server.Script("/pub/player/quietrook/games/2025/02", {Month(2, "\"f1\"")});
  server.Script("/pub/player/quietrook/games/2025/03", {{304, ""}});
  const Outcome out = ChessCom("quietrook", {{"2025/03", "\"m1\"", ""}});
  EXPECT_EQ(out.progress, (std::vector<std::string>{"2025/02: 2 games", "2025/03: nothing new"}));
  EXPECT_EQ(out.games.at(1).url, "https://www.chess.com/game/live/1");
}

TEST_F(OnlineFetch, RefusesABaseUrlOtherThanHttpsOrThisMachinesBeforeAnyRequest) {
  for (const char* base :
       {"http://example.org", "http://127.0.0.1.example.org/", "ftp://127.0.0.1/"}) {
    SCOPED_TRACE(base);
    setenv("TESSIK_LICHESS_URL", base, 1);
    EXPECT_EQ(
        Lichess("quietrook").error,
        "lichess, account \"quietrook\": TESSIK_LICHESS_URL must be an https URL, or an http "
        "one of this machine (127.0.0.1, ::1, localhost), without a user, a query or a fragment");
  }
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(OnlineFetch, NoServerIsAClearErrorInLibcurlsWords) {
  setenv("TESSIK_LICHESS_URL", "http://127.0.0.1:1", 1);
  const std::string error = Lichess("quietrook").error;
  EXPECT_EQ(error.rfind("lichess, account \"quietrook\": no answer from the server: ", 0), 0);
  EXPECT_NE(error.find("127.0.0.1"), std::string::npos) << error;
}

}  // namespace
}  // namespace tessik
