// tessik-stats as a user runs it: an online server's export imported, then every command
// checked against counts worked out here from the games the export was written from.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "support/records.h"
#include "support/stats_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

// A game as the export was written from it. result: the user's, '+' '=' '-'; '*' unfinished.
struct Game {
  std::string opponent;
  bool white;
  char result;
  std::string day;  // "2024.03.01"
  std::string timeControl;
  std::string variant = "Standard";
  std::string event = "Rated Blitz game";
  int userRating = 1500, opponentRating = 1500;
  std::string title = {};  // the opponent's title tag, if any
};

const std::vector<Game> kGames = {
    {"bob", true, '+', "2024.01.05", "180+2"},
    {"bob", false, '-', "2024.01.20", "180+2"},
    {"Carl", true, '=', "2024.02.01", "600+0", "Standard", "Casual Rapid game"},
    {"bob", true, '+', "2024.02.03", "1/86400", "Standard", "Rated Daily game", 1500, 1700},
    {"bob", false, '+', "2024.02.10", "60+0", "Crazyhouse"},
    {"Guestrin", true, '-', "2024.03.01", "180+0", "Standard", "Rated Blitz game", 1480, 1900,
     "GM"},
    {"bob", true, '+', "2024.03.02", "180+2"},
    {"bob", false, '=', "2024.03.15", "1800+20"},
    {"Carl", false, '+', "2024.03.20", "300+3", "Standard", "Rated Blitz game", 1500, 1500, "BOT"},
    {"bob", true, '-', "2024.04.02", "180+2"},
    {"Guestrin", false, '+', "2024.04.05", "-"},  // no clock: standard
};
// Left out: another player's game, an unfinished one, a variant the log has no place for.
const std::vector<Game> kLeftOut = {
    {"bob", true, '*', "2024.04.03", "180+2"},
    {"bob", true, '+', "2024.04.04", "180+2", "Horde"},
};

std::string Pgn() {
  std::string pgn;
  auto add = [&pgn](const std::string& white, const std::string& black, const Game& g) {
    const char* result = g.result == '*'                ? "*"
                         : g.result == '='              ? "1/2-1/2"
                         : (g.result == '+') == g.white ? "1-0"
                                                        : "0-1";
    const int whiteElo = g.white ? g.userRating : g.opponentRating;
    const int blackElo = g.white ? g.opponentRating : g.userRating;
    pgn += "[Event \"" + g.event + "\"]\n[Site \"https://example.org/x\"]\n[Date \"" + g.day +
           "\"]\n[White \"" + white + "\"]\n[Black \"" + black + "\"]\n[Result \"" + result +
           "\"]\n[UTCDate \"" + g.day + "\"]\n[UTCTime \"12:00:00\"]\n[WhiteElo \"" +
           std::to_string(whiteElo) + "\"]\n[BlackElo \"" + std::to_string(blackElo) +
           "\"]\n[Variant \"" + g.variant + "\"]\n[TimeControl \"" + g.timeControl + "\"]\n" +
           (g.title.empty() ? ""
                            : (g.white ? "[BlackTitle \"" : "[WhiteTitle \"") + g.title + "\"]\n") +
           "\n1. e4 e5 2. Nf3 {a comment} " + result + "\n\n";
  };
  // Newest first, as the servers export them.
  for (auto g = kGames.rbegin(); g != kGames.rend(); ++g) {
    g->white ? add("Ann", g->opponent, *g) : add(g->opponent, "Ann", *g);
  }
  for (const Game& g : kLeftOut) add("Ann", g.opponent, g);
  add("dora", "eve", kGames[0]);
  return pgn;
}

class StatsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "export.pgn", Pgn());
    StatsRun import = Stats(dir, "--user ann import export.pgn --player ann");
    ASSERT_EQ(import.status, 0) << import.err;
    ASSERT_EQ(import.out,
              "Read 14 games from export.pgn: 11 added, 0 already in the database, 3 left out (1 "
              "not ann's, 1 without a result, 1 of a variant the record leaves out)\nThe "
              "database is " +
                  (dir / "data/tessik/ann.sqlite").string() + "\n");
  }
  Json JsonOf(const std::string& arguments) {
    StatsRun run = Stats(dir, arguments + " --json");
    EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
    return Json::parse(run.out);
  }
  TempDirectory dir;
};

// Won, drawn, lost of the games that pass.
template <class Pass>
std::vector<int> Counted(Pass pass) {
  std::vector<int> counts(3);
  for (const Game& g : kGames) {
    if (pass(g)) ++counts[g.result == '+' ? 0 : g.result == '=' ? 1 : 2];
  }
  return counts;
}

std::vector<int> Counts(const Json& j) { return {j["won"], j["drawn"], j["lost"]}; }

TEST_F(StatsCli, ScoreCountsTheGamesAgainstOneOpponentThroughEveryFilter) {
  // the filters; which games pass them
  const std::vector<std::pair<std::string, std::function<bool(const Game&)>>> kCases = {
      {"", [](const Game&) { return true; }},
      {"--colour White", [](const Game& g) { return g.white; }},
      {"--type standard",
       [](const Game& g) { return g.timeControl == "1/86400" || g.timeControl == "1800+20"; }},
      {"--type CrazyHouse", [](const Game& g) { return g.variant == "Crazyhouse"; }},
      {"--since 2024-02-03 --until 2024-03-02",
       [](const Game& g) { return g.day >= "2024.02.03" && g.day <= "2024.03.02"; }},
  };
  for (const auto& [filters, pass] : kCases) {
    Json score = JsonOf("score bob " + filters);
    EXPECT_EQ(Counts(score), Counted([&](const Game& g) { return g.opponent == "bob" && pass(g); }))
        << filters;
  }
  Json score = JsonOf("score bob");
  // The last ten: every game against bob here, oldest first; the streak at the end.
  std::vector<std::string> dates;
  for (const Json& game : score["last_ten"]) dates.push_back(game["date"]);
  EXPECT_EQ(dates, (std::vector<std::string>{"2024-01-05", "2024-01-20", "2024-02-03", "2024-02-10",
                                             "2024-03-02", "2024-03-15", "2024-04-02"}));
  EXPECT_EQ(score["streaks"], Json::parse(R"({"current": {"result": "lost", "games": 1},
                                             "longest_won": 3, "longest_lost": 1})"));
  // Every split of the score lines in numbers, worked out from kGames: a rating type and colour
  // with games, "any" for all.
  std::vector<std::string> splits;
  for (const Json& s : score["splits"]) {
    splits.push_back(std::string(s["rating_type"]) + "/" + std::string(s["colour"]) + " +" +
                     std::to_string(int(s["won"])) + "=" + std::to_string(int(s["drawn"])) + "-" +
                     std::to_string(int(s["lost"])));
  }
  EXPECT_EQ(splits, (std::vector<std::string>{
                        "any/any +4=1-2", "any/white +3=0-1", "any/black +1=1-1",
                        "crazyhouse/any +1=0-0", "crazyhouse/black +1=0-0", "blitz/any +2=0-2",
                        "blitz/white +2=0-1", "blitz/black +0=0-1", "standard/any +1=1-0",
                        "standard/white +1=0-0", "standard/black +0=1-0"}));
  // Six games at equal ratings expect 16/32 each, the one 200 points down 8/32: 104/32 points.
  EXPECT_EQ(score["lines"][0], "Score against bob +4 =1 -2 (64%), expected were 3.3 points (46%)");
  // As text, the last results below the points, each above its date; the performance rating.
  const std::string text = Stats(dir, "score bob").out;
  EXPECT_NE(text.find("\nLast 7       +           -           +           +           +\n"
                      "             2024-01-05  2024-01-20  2024-02-03  2024-02-10  2024-03-02\n"
                      "             =           -\n"
                      "             2024-03-15  2024-04-02\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nPerformance  1631 (average opponent 1529, 64%: +102)\n"),
            std::string::npos);
  // On a terminal a win is green and a loss red, unless NO_COLOR is set (into a file: above).
  for (const auto& [noColour, coloured] : {std::pair{"", true}, {"NO_COLOR=1", false}}) {
    const std::string onTerminal =
        "cd " + dir.path() + " && env -u TESSIK_DB XDG_DATA_HOME=" + dir.path() + "/data " +
        noColour + " script -qec '" + TESSIK_STATS + " --user ann score bob' /dev/null >tty";
    ASSERT_EQ(std::system(onTerminal.c_str()), 0) << onTerminal;
    const std::string shown = ReadFile(dir / "tty");
    EXPECT_EQ(
        shown.find("Last 7       \033[32m+\033[0m           \033[31m-\033[0m") != std::string::npos,
        coloured)
        << shown;
  }
  // Carl's two games at 1500, a draw and a win: 75%, FIDE's +193, and too few to say much.
  EXPECT_NE(Stats(dir, "score Carl")
                .out.find("\nPerformance  1693 (average opponent 1500, 75%: +193, from only 2 "
                          "games)\n"),
            std::string::npos);
  // Unknown handles are named, with the closest ones.
  StatsRun unknown = Stats(dir, "score bobb");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err,
            "tessik-stats: no game against bobb in the record of ann; the closest handles: bob, "
            "Carl, Guestrin\n");
}

TEST_F(StatsCli, RankHistoryAndExportAgreeWithTheGames) {
  // Most games: by count, equal counts in handle order (letter case aside).
  std::map<std::string, int, bool (*)(const std::string&, const std::string&)> games(
      [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
      });
  for (const Game& g : kGames) ++games[g.opponent];
  std::vector<std::pair<std::string, int>> ranked(games.begin(), games.end());
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::vector<std::pair<std::string, int>> most;
  const Json rank = JsonOf("rank most");
  for (const Json& row : rank["opponents"]) most.emplace_back(row["opponent"], row["games"]);
  EXPECT_EQ(most, ranked);
  EXPECT_EQ(Counts(JsonOf("rank Overall")), Counted([](const Game&) { return true; }));
  // Against the ratings: only bob has 7 games, and at least 7 are asked for.
  EXPECT_EQ(JsonOf("rank surprise --min-games 7")["opponents"],
            Json::parse(R"([{"opponent": "bob", "server": "pgn", "games": 7, "points": 4.5,
                             "expected_points": 3.25, "difference": 1.25}])"));
  // A player of another server named like the host's guests is a player (Guestrin: a loss
  // expecting 3/32, a win expecting 16/32).
  std::vector<std::string> surprising;
  const Json twoGames = JsonOf("rank surprise --min-games 2");
  for (const Json& row : twoGames["opponents"]) {
    surprising.push_back(std::string(row["opponent"]) + " " + row["expected_points"].dump());
  }
  EXPECT_EQ(surprising, (std::vector<std::string>{"bob 3.25", "Carl 1.0", "Guestrin 0.59375"}));
  EXPECT_EQ(JsonOf("rank surprise --min-games 2 --limit 1")["opponents"].size(), 1u);
  const auto casual = [](const Game& g) { return g.event.starts_with("Casual"); };
  EXPECT_EQ(Counts(JsonOf("rank overall --unrated")), Counted(casual));
  EXPECT_EQ(Counts(JsonOf("rank overall --rated")),
            Counted([&](const Game& g) { return !casual(g); }));

  // History by month.
  std::map<std::string, std::vector<int>> months;
  for (const Game& g : kGames) {
    const std::string month = g.day.substr(0, 4) + "-" + g.day.substr(5, 2);
    months[month] = Counted([&](const Game& h) { return h.day.compare(0, 7, g.day, 0, 7) == 0; });
  }
  std::map<std::string, std::vector<int>> history;
  for (const Json& row : JsonOf("history --by month")) history[row["period"]] = Counts(row);
  EXPECT_EQ(history, months);
  // As text: a column for each figure, text to the left, numbers to the right.
  EXPECT_EQ(Stats(dir, "history --by year").out,
            "Period  Games  +  =  -  Score  Last ratings\n"
            "2024       11  6  2  3    64%  pgn 1500, pgn blitz 1500, pgn classical 1500, pgn "
            "correspondence 1500, pgn crazyhouse bullet 1500, pgn rapid 1500\n\n"
            "Counted: the database " +
                (dir / "data/tessik/ann.sqlite").string() + " (pgn)\n");

  // Every game decoded, in time order: the daily game a rated standard one, the casual game
  // unrated.
  const std::string csv = Stats(dir, "export").out;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), static_cast<long>(kGames.size()) + 1);
  EXPECT_NE(
      csv.find("\r\n2024-02-03T12:00:00Z,white,won,bob,1500,1700,standard,1440,0,1,0,?,?,0\r\n"),
      std::string::npos)
      << csv;
  EXPECT_NE(csv.find("2024-02-01T12:00:00Z,white,drawn,Carl,1500,1500,blitz,10,0,0,0"),
            std::string::npos);
  EXPECT_NE(
      csv.find("\r\n2024-04-05T12:00:00Z,black,won,Guestrin,1500,1500,standard,,0,1,0,?,?,0\r\n"),
      std::string::npos);
  // Titles: one the log knows; a computer, with no title.
  EXPECT_NE(
      csv.find("\r\n2024-03-01T12:00:00Z,white,lost,Guestrin,1480,1900,blitz,3,0,1,0,GM,,0\r\n"),
      std::string::npos);
  EXPECT_NE(csv.find("\r\n2024-03-20T12:00:00Z,black,won,Carl,1500,1500,blitz,5,3,1,0,,,1\r\n"),
            std::string::npos);
  // The same archive again adds nothing.
  EXPECT_EQ(
      Stats(dir, "--user ann import export.pgn --player ann")
          .out.rfind("Read 14 games from export.pgn: 0 added, 11 already in the database,", 0),
      0u);
}

TEST_F(StatsCli, BadInputGetsItsExitStatusAndLeavesTheDatabaseAlone) {
  const std::string database = ReadFile(dir / "data/tessik/ann.sqlite");
  // Databases that are not to be used: of a later schema, not one, a link, in a shared folder.
  std::string later = database;
  later[63] = 99;  // the header's user version, big-endian at byte 60
  WriteFile(dir / "later.sqlite", later);
  WriteFile(dir / "text.sqlite", std::string(200, 'x'));
  fs::create_symlink(dir / "data/tessik/ann.sqlite", dir / "link.sqlite");
  fs::create_directory(dir / "shared");
  fs::permissions(dir / "shared", fs::perms::all);
  // Files of no game of the user: another player's two games, and no PGN at all.
  WriteFile(dir / "two.pgn",
            "[White \"Ann\"]\n[Black \"x\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n\n"
            "[White \"y\"]\n[Black \"ANN\"]\n[Result \"0-1\"]\n\n1. e4 0-1\n");
  WriteFile(dir / "binary.pgn", std::string("\x7f"
                                            "ELF\2\1\1\0\0\0\0",
                                            12) +
                                    "[ \xff");
  // usage errors 1, data errors 2; what the message says
  const std::tuple<std::string, int, std::string> kCases[] = {
      {"score bob --since 2024-02-30", 1, ""},
      {"rank overall --rated --unrated", 1, ""},
      {"import more.pgn", 1, ""},
      {"--user zed score bob", 2, ""},
      {"--user ../tessik/ann score bob", 2, ""},
      {"--user ann import missing.pgn", 2, ""},
      {"--user zed import two.pgn", 2, "none of the 2 games of two.pgn is zed's; Ann is in every"},
      {"--user ann import binary.pgn", 2, "binary.pgn holds no PGN game"},
      {"--db later.sqlite score bob", 2, "its schema is version 99, of a later Tessik"},
      {"--db text.sqlite score bob", 2, "file is not a database"},
      {"--db link.sqlite score bob", 2, "a symbolic link"},
      {"--user ann --db shared/ann.sqlite import export.pgn", 2, "other users may write"},
  };
  for (const auto& [arguments, status, says] : kCases) {
    StatsRun run = Stats(dir, arguments);
    EXPECT_EQ(run.status, status) << arguments << ": " << run.err;
    EXPECT_FALSE(run.err.empty()) << arguments;
    EXPECT_NE(run.err.find(says), std::string::npos) << arguments << ": " << run.err;
  }
  EXPECT_EQ(ReadFile(dir / "data/tessik/ann.sqlite"), database);
  // Without --user, several logs are named in order, whatever order the folder lists them in.
  const std::string log = EncodeGameLog({MarkerRecord()});
  for (const char* user : {"carl", "bob", "ann"})
    WriteFile(dir / "tessik" / (user + std::string(".glg")), log);
  EXPECT_EQ(Stats(dir, "score x").err, "tessik-stats: several users have a game log in " +
                                           dir.path() +
                                           "/tessik/; pick one with --user: ann bob carl\n");
}

// A command line that cannot be taken says why, beginning as every error does, and names what
// would be taken; letter case aside, a name is taken as written.
TEST(StatsOptions, AWrongCommandLineIsRefusedWithTheRightNames) {
  const std::string commands =
      "score, rank, history, openings, summary, export, import, fetch, sources, forget";
  const std::pair<std::string, std::string> kCases[] = {
      {"score bob --type 16",
       "--type: 16 not in {wild,loser's,crazyhouse,bullet,blitz,standard,"
       "5-minute,1-minute,15-minute}"},
      {"score bob --colour green", "--colour: green not in {white,black}"},
      {"rank sideways", "REPORT: sideways not in {most,best,worst,overall,surprise}"},
      {"history --by 1", "--by: 1 not in {week,month,year}"},
      {"openings --by colour", "--by: colour not in {eco,name,family}"},
      {"openings --min-games 0", "--min-games: Value 0 not in range 1 to 2147483647"},
      {"export --format xml", "--format: xml not in {csv,json}"},
      {"--user ann import x.pgn --format pgn",
       "--format: pgn not in {auto,server,online,standard}"},
      {"score bob --since 2024-03-02 --until 2024-03-01",
       "--since: 2024-03-02 is after --until 2024-03-01: no day lies between them"},
      {"bogus", "there is no command bogus; the commands are " + commands},
      {"--user ann", "name a command: " + commands},
  };
  TempDirectory dir;
  for (const auto& [arguments, message] : kCases) {
    StatsRun run = Stats(dir, arguments);
    EXPECT_EQ(run.status, 1) << arguments;
    EXPECT_EQ(run.err, "tessik-stats: " + message + "\nRun with --help for more information.\n")
        << arguments;
  }
}

// A name is only ever text: every line printed shows a control byte in caret notation, a CSV
// field a spreadsheet would run as a formula begins with an apostrophe, and JSON has a name as
// UTF-8 when it is UTF-8, else as the Latin-1 text it is.
TEST(StatsNames, NamesArePrintedAsText) {
  struct Case {
    std::string name, csv, json;  // in the log; its CSV field; its JSON string (UTF-8)
  };
  const Case kCases[] = {
      {"e\x1b[2J", "e^[[2J", "e\x1b[2J"},           // clears the screen
      {"t\x1b]0;x\a", "t^[]0;x^G", "t\x1b]0;x\a"},  // sets the terminal's title
      {"l\nf", "l^Jf", "l\nf"},
      {"\tx", "^Ix", "\tx"},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\"", "=HYPERLINK(\"x\")"},
      {"@SUM(1+1)", "'@SUM(1+1)", "@SUM(1+1)"},
      {"+1", "'+1", "+1"},
      {"-1", "'-1", "-1"},
      {"a,b", "\"a,b\"", "a,b"},
      {"Jos\xc3\xa9", "Jos\xc3\xa9", "Jos\xc3\xa9"},
      {"Ren\xe9", "Ren\xe9", "Ren\xc3\xa9"},
  };
  TempDirectory dir;
  std::vector<GameRecord> games;
  std::vector<std::string> expected;
  for (const Case& c : kCases) {
    games.push_back(RatedGame(c.name, kUserWon, 3, 0, 1500, 1600));
    expected.push_back(c.json);
  }
  games.push_back(RatedGame(kCases[0].name, kUserLost, 3));  // first in Most 10
  WriteFile(dir / "tessik/ann.glg", EncodeGameLog(LogOf(games)));
  // Each line as a terminal gets it: nothing below a space.
  for (const char* command : {"rank most", "rank best", "rank worst", "rank surprise --min-games 1",
                              "score \"$(printf 'e\\033[2')\""}) {
    const StatsRun run = Stats(dir, command);
    const std::string printed = run.out + run.err;
    EXPECT_EQ(std::count_if(printed.begin(), printed.end(),
                            [](char c) { return (c >= 0 && c < ' ' && c != '\n') || c == 0x7F; }),
              0)
        << command << ":\n"
        << printed;
    EXPECT_NE(printed.find("^["), std::string::npos) << command << ":\n" << printed;
  }
  EXPECT_NE(Stats(dir, "score \"$(printf 'x\\033[2')\"").err.find("against x^[[2 in "),
            std::string::npos);
  const std::string csv = Stats(dir, "export").out;
  for (const Case& c : kCases) {
    EXPECT_NE(csv.find(",won," + c.csv + ",1500,1600,"), std::string::npos) << c.csv << "\n" << csv;
  }
  std::vector<std::string> opponents;
  for (const Json& game : Json::parse(Stats(dir, "export --json").out)) {
    opponents.push_back(game["opponent"]);
  }
  opponents.pop_back();  // the second game against the first
  EXPECT_EQ(opponents, expected);
}

// A log longer than a batch of its reading, its players spelt many ways: rank counts each player
// once, by the handle's first 15 characters letter case aside, named by their first game's
// spelling, and surprise by the first game whose ratings are both known; score finds the games
// against one player and no other. Guests and records without a result are left out.
TEST(StatsLog, EveryPlayerOfALongLogIsCountedOnceWhateverTheSpelling) {
  std::mt19937 random(81226);
  std::vector<std::string> players = {"Guest5", "anonX"};
  for (int i = 0; i < 300; ++i) {
    players.push_back("pl" + std::to_string(i) + (i % 9 == 0 ? "_of_a_long_handle" : ""));
  }
  struct Expected {
    std::string name;
    std::vector<int> results = std::vector<int>(3);
    std::string ratedName;  // surprise's: the spelling of the first game with both ratings
    int ratedGames = 0;
    double points = 0;
  };
  std::map<std::string, Expected> expected;  // by the handle folded
  std::vector<GameRecord> games;
  for (int i = 0; i < 20000; ++i) {
    std::string spelling = players[random() % players.size()];
    for (char& c : spelling) {
      if (random() % 3 == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const int result = static_cast<int>(random() % 40);  // 39: a damaged record, no result
    const bool rated = random() % 4 != 0;                // else the opponent's rating unknown
    GameRecord game = RatedGame(spelling, result == 39 ? kMarkerResult : int8_t(result % 3 - 1), 3,
                                0, 1500, rated ? 1500 : 0);
    if (spelling.size() >= 16) game.opponent[15] = static_cast<char>('a' + random() % 26);
    if (spelling.size() < 14 && random() % 4 == 0) {
      std::memset(game.opponent + spelling.size() + 1, 'z', kOpponentBytes - spelling.size() - 1);
    }
    games.push_back(game);
    const std::string handle = spelling.substr(0, 15);
    std::string folded = handle;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (result == 39 || folded.starts_with("guest") || folded.starts_with("anon")) continue;
    Expected& player = expected[folded];
    if (player.name.empty()) player.name = handle;
    ++player.results[static_cast<size_t>(result % 3)];
    if (!rated) continue;
    if (player.ratedGames++ == 0) player.ratedName = handle;
    player.points += (2 - result % 3) / 2.0;
  }
  TempDirectory dir;
  WriteFile(dir / "tessik/ann.glg", EncodeGameLog(LogOf(games)));
  const auto byFoldedName = [&dir](const std::string& command) {
    const StatsRun run = Stats(dir, command + " --json");
    EXPECT_EQ(run.status, 0) << run.err;
    std::map<std::string, Json> rows;
    const Json opponents = Json::parse(run.out)["opponents"];
    for (const Json& row : opponents) {
      std::string folded = row["opponent"];
      for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      rows[folded] = row;
    }
    return rows;
  };
  std::map<std::string, Json> ranked = byFoldedName("rank most --all");
  std::map<std::string, Json> surprising = byFoldedName("rank surprise --min-games 1");
  ASSERT_EQ(ranked.size(), expected.size());
  for (const auto& [folded, player] : expected) {
    EXPECT_EQ(ranked[folded]["opponent"], player.name);
    EXPECT_EQ(Counts(ranked[folded]), player.results) << player.name;
    // (A field of 16 characters is a name of its own to surprise.)
    if (folded.size() == 15) continue;
    EXPECT_EQ(surprising[folded]["opponent"], player.ratedName);
    EXPECT_EQ(surprising[folded]["games"], player.ratedGames) << player.name;
    EXPECT_EQ(surprising[folded]["points"], player.points) << player.name;
    EXPECT_EQ(surprising[folded]["expected_points"], player.ratedGames / 2.0) << player.name;
  }
  // pl1 is not pl10, and a long handle is known by its first 15 characters.
  for (const std::string folded : {"pl1", "pl10", "pl9_of_a_long_h"}) {
    const StatsRun score = Stats(dir, "score " + folded + " --json");
    ASSERT_EQ(score.status, 0) << score.err;
    EXPECT_EQ(Counts(Json::parse(score.out)), expected[folded].results) << folded;
  }
}

// The host's PGN holds games the plug-in recorded live (their start some seconds apart): each is
// counted once, the log's; a standard PGN may hold the same game twice: it is one game.
TEST(StatsImport, GamesPlayedLiveAndRepeatedGamesAreEachCountedOnce) {
  TempDirectory dir;
  GameRecord live = RatedGame("bob", kUserWon, 3);
  live.origin = kOriginLive, live.gameKey = 7, live.startTime = 1577959200;  // 2020-01-02 10:00
  live.title = live.womanTitle = 1;
  WriteFile(dir / "tessik/ann.glg", EncodeGameLog({MarkerRecord(), live}));
  const std::string server =
      "[Event \"rated blitz match\"]\n[Date \"2020.01.02\"]\n[Time \"10:00:30\"]\n"
      "[White \"ann\"]\n[Black \"bob\"]\n[Result \"1-0\"]\n[WhiteElo \"1500\"]\n"
      "[BlackElo \"1500\"]\n[TimeControl \"180\"]\n\n1. e4 1-0\n\n";
  const std::string otb = "[White \"Ann\"]\n[Black \"carl\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n\n";
  WriteFile(dir / "games.pgn", server + otb + otb);
  for (const char* said :
       {"Read 3 games from games.pgn: 2 added, 1 already in the database, 0 left out",
        "Read 3 games from games.pgn: 0 added, 3 already in the database, 0 left out"}) {
    StatsRun run = Stats(dir, "--user ann import games.pgn");
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), said) << run.err;
  }
  const auto overall = [&dir](const char* user) {
    return Json::parse(Stats(dir, std::string("--user ") + user + " rank overall --json").out);
  };
  EXPECT_EQ(overall("ann")["games"], 2);
  EXPECT_EQ(overall("ann")["opponent_count"], 2);
  // The demo player's server PGN gives the games the plug-in's own first import gives.
  EXPECT_EQ(Stats(dir, "--user demo import " SAMPLE_PGN " --player ann")
                .out.rfind("Read 2000 games from ", 0),
            0u);
  EXPECT_EQ(overall("demo")["games"], 2000);
}

// Two archives that overlap, the second large: every game counted once, those the database holds
// already as such, the others added.
TEST(StatsImport, OverlappingArchivesCountEveryGameOnce) {
  constexpr int kGames = 80000, kKnown = 1000;
  std::string all, known;
  for (int i = 0; i < kGames; ++i) {
    const std::string game = "[White \"Ann\"]\n[Black \"p" + std::to_string(i) +
                             "\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n\n";
    all += game;
    if (i >= kGames - kKnown) known += game;
  }
  TempDirectory dir;
  WriteFile(dir / "known.pgn", known);
  WriteFile(dir / "all.pgn", all);
  ASSERT_EQ(Stats(dir, "--user ann import known.pgn").status, 0);
  StatsRun run = Stats(dir, "--user ann import all.pgn");
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            "Read 80000 games from all.pgn: 79000 added, 1000 already in the database, 0 left out")
      << run.err;
  const std::string csv = Stats(dir, "--user ann export").out;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), kGames + 1);
  // Ten opponents ranked unless asked for more; equals in the order of their names.
  const auto best = [&dir](const std::string& options) {
    return Json::parse(Stats(dir, "--user ann rank best --json " + options).out)["opponents"];
  };
  EXPECT_EQ(best("--all").size(), static_cast<size_t>(kGames));
  EXPECT_EQ(best("").size(), 10u);
  std::vector<std::string> first;
  for (const Json& row : best("--limit 3")) first.push_back(row["opponent"]);
  EXPECT_EQ(first, (std::vector<std::string>{"p0", "p1", "p10"}));
}

}  // namespace
}  // namespace tessik
