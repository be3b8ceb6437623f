#include "import/pgn_import.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "import/line_reader.h"
#include "import/pgn_game.h"
#include "import/pgn_text.h"
#include "support/records.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

// ann's game with these tags ("Name=value|...") over the default ones, evaluated: the record
// (Describe), or "-" when it is not kept.
std::string Kept(const std::string& changes, GameRecord& record, StartTimes* times = nullptr) {
  PgnTags tags;
  std::string all =
      "Event=rated blitz match|Date=2020.01.02|Time=03:04:05|White=ann|Black=bob|"
      "Result=1-0|WhiteElo=1600|BlackElo=1500|TimeControl=300|" +
      changes + "|";
  for (size_t at = 0, end; (end = all.find('|', at)) != std::string::npos; at = end + 1) {
    size_t is = all.find('=', at);
    if (is < end) tags.Take(all.substr(at, is - at), all.substr(is + 1, end - is - 1));
  }
  StartTimes ownTimes;
  return EvaluateGame(tags, "ann", times ? *times : ownTimes, record) ? Describe(record) : "-";
}

TEST(PgnGame, TheTagsOfTheUsersGameGiveItsRecord) {
  const std::string won = "bob won white 1600/1500 5+0 pool 2", lost = "bob lost" + won.substr(7),
                    drawn = "bob drawn" + won.substr(7);
  const std::pair<std::string, std::string> kCases[] = {
      {"", won},
      {"White=bob|Black=ann", "bob lost black 1500/1600 5+0 pool 2"},
      {"White=bob|Black=ann|Result=0-1", "bob won black 1500/1600 5+0 pool 2"},
      {"Result=1/2-1/2", drawn},
      {"Result=*|KeshResult=Black forfeits on time", won},
      {"Result=*|KeshResult=White forfeits on time", lost},
      {"Result=*|KeshResult=Black ran out of time and White has no material to mate", drawn},
      {"Result=*|KeshResult=Game adjourned", "-"},
      {"Result=0-1|KeshResult=Black forfeits on time", lost},  // the result stands
      {"White=carl", "-"},
      {"White=Ann", "-"},
      {"white=carl|WhiteElo=+1650 ?", "bob won white 1650/1500 5+0 pool 2"},
      {"TimeControl=300+2", "bob won white 1600/1500 5+2 pool 0"},
      {"TimeControl=900", "bob won white 1600/1500 15+0 pool 2"},
      {"Event=rated blitz tourney (w17 5 0 u) round 2",
       "bob won white 1600/1500 5+0 unrated pool 0 wild 17"},
      {"Event=an unrated u game", "bob won white 1600/1500 5+0 unrated pool 0"},
      {"Event=rated wild w22 match", "bob won white 1600/1500 5+0 pool 0 wild 22"},
      {"Event=rated wild w24", "-"},
  };
  for (const auto& [tags, kept] : kCases) {
    GameRecord record;
    EXPECT_EQ(Kept(tags, record), kept) << tags;
    if (kept == "-") continue;  // titles unknown, not a computer, imported
    EXPECT_EQ(std::vector<int>({record.title, record.womanTitle, record.computer, record.origin,
                                record.gameKey}),
              std::vector<int>({1, 1, 0, 0, 0}));
  }
}

// The Date and Time tags of one game after the other in a zone with daylight saving time: as
// mktime converts them, or -1 when the record's 32 bits cannot hold the time (the last four).
TEST(PgnGame, StartTimesAreLocalTimesAsMktimeConvertsThem) {
  const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  const char* kCases[] = {
      "2020.02.28 12:00:00", "2020.02.29 12:00:00", "2020.03.01 06:00:00", "2021.03.27 12:00:00",
      "2021.03.28 02:30:00", "2021.03.28 03:30:00", "2021.03.31 12:00:00", "2021.04.01 06:00:00",
      "2021.10.31 02:30:00", "2021.10.31 03:30:00", "2021.12.31 23:59:60", "2022.03.02 12:00:00",
      "2021.15.01 12:00:00", "2022.02.30 12:00:00", "2022.03.01 24:00:00", "2038.01.19 04:14:07",
      "1901.12.13 21:45:52", "2038.01.19 04:14:08", "1901.12.13 21:45:51", "1850.01.01 00:00:00",
      "????.??.?? ??:??:??",
  };
  StartTimes times;
  for (const char* const& date : kCases) {
    GameRecord record;
    Kept("Date=" + std::string(date, 10) + "|Time=" + (date + 11), record, &times);
    std::tm fields{};
    std::sscanf(date, "%d.%d.%d %d:%d:%d", &fields.tm_year, &fields.tm_mon, &fields.tm_mday,
                &fields.tm_hour, &fields.tm_min, &fields.tm_sec);
    fields.tm_year -= 1900, fields.tm_mon -= 1, fields.tm_isdst = -1;
    const bool held = &date < &kCases[17];
    EXPECT_EQ(record.startTime, held ? static_cast<int32_t>(std::mktime(&fields)) : -1) << date;
  }
  zone.empty() ? unsetenv("TZ") : setenv("TZ", zone.c_str(), 1);
  tzset();
}

TEST(PgnText, TagLinesAndTokens) {
  std::string_view name, value;
  EXPECT_TRUE(ParseTagLine(R"([Event "a "b" c"])", name, value) && value == R"(a "b" c)");
  EXPECT_FALSE(ParseTagLine(R"([White "ann"] )", name, value) || ParseTagLine("", name, value));
  std::vector<std::string_view> tokens;
  size_t position = 0;
  for (std::string_view token; tokens.size() < 5 && NextToken("a,bc,,d", position, ',', token);) {
    tokens.push_back(token);
  }
  EXPECT_EQ(tokens, (std::vector<std::string_view>{"a", "bc", "", "d"}));
}

// Each line without its end; one longer than a block (1 MiB) skipped whole.
TEST(LineReader, LinesWithoutTheirEndsAndTooLongOnesSkipped) {
  const std::string block(1 << 20, 'x');
  const std::pair<std::string, std::vector<std::string>> kCases[] = {
      {"a\r\nb\n\n\rc\r\r\n\r\nlast", {"a", "b", "", "\rc\r", "", "last"}},
      {"a\n", {"a"}},
      {block + "\nnext\n" + block + "y", {"next"}},
      {"x\n" + block + block + "\r\nnext", {"x", "next"}},
  };
  TempDirectory directory;
  for (const auto& [text, expected] : kCases) {
    WriteFile(directory / "f", text);
    int fd = open((directory / "f").c_str(), O_RDONLY);
    LineReader reader(fd);
    std::vector<std::string> lines;
    std::string_view line;  // one call more than there are lines: the reader is at its end
    for (size_t i = 0; i <= expected.size() && reader.Next(line); ++i) lines.emplace_back(line);
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(reader.Next(line) || reader.Failed());
    close(fd);
  }
}

// A game of the server's PGN; the user is ann.
std::string Game(const std::string& black, const std::string& result, const std::string& tag = "") {
  return "[Date \"2020.01.02\"]\n[Time \"03:04:05\"]\n[White \"ann\"]\n[Black \"" + black +
         "\"]\n[Result \"" + result + "\"]\n" + tag + "\n1. e4 e5 {a comment}\n2. Nf3 " + result +
         "\n\n";
}

TEST(PgnImport, EveryGameIsReadWithItsOwnTagsAndNeighbouringDuplicatesGo) {
  TempDirectory directory;
  const std::string bob = Game("bob", "1-0"), carl = Game("carl", "0-1");
  std::string crlf;
  for (char c : bob + carl) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::pair<std::string, std::vector<std::string>> kCases[] = {
      {crlf.substr(0, crlf.size() - 4), {"bob", "carl"}},  // the last line without its end
      {bob.substr(0, bob.size() - 1) + carl, {"bob", "carl"}},
      {Game("bob", "*", "[KeshResult \"Black forfeits on time\"]\n") + Game("carl", "*"), {"bob"}},
      {"", {}},
      {bob + bob + bob + carl + bob, {"bob", "carl", "bob"}},
  };
  for (const auto& [pgn, opponents] : kCases) {
    WriteFile(directory / "ann.pgn", pgn);
    std::vector<GameRecord> games;
    EXPECT_EQ(ParsePgn(games, directory / "ann.pgn", "ann", directory / "report").error, 0);
    EXPECT_EQ(Opponents(games), opponents);
  }
  EXPECT_NE(ReadFile(directory / "report")
                .find("Read 5 Games from the PGN, put 6 in the gamelog\nDoublette at 1 / 2 bob 0 "
                      "removed\nDoublette at 1 / 2 bob 0 removed\nHeader: ***tessik*** 0 \n"),
            std::string::npos);
}

// Games played live since the login are added to the imported ones unless the PGN holds them
// already: the same opponent, colour and result, started at most two minutes apart.
TEST(PgnImport, GamesPlayedSinceTheLoginAreAddedOnce) {
  auto import = [](const std::string& pgn, const std::vector<GameRecord>& live) {
    TempDirectory directory;
    if (!pgn.empty()) WriteFile(directory / "ann.pgn", pgn);
    std::vector<GameRecord> games;
    ImportOutcome outcome = ImportPgn(games, directory / "", "ann", directory / "", {}, live);
    EXPECT_EQ(outcome.pgnError, pgn.empty() ? ENOENT : 0);
    EXPECT_EQ(ReadFile(directory / "ann.glg"), EncodeGameLog(games));
    return games;
  };
  const std::string bob = Game("bob", "0-1");
  const int32_t start = import(bob, {}).at(1).startTime;
  auto live = [start](const char* opponent, int8_t result, int apart, bool white = true) {
    GameRecord game = RatedGame(opponent, result, 3, 0, 1500, 1500, white);
    game.startTime = start + apart;
    return game;
  };
  const std::tuple<std::string, std::vector<GameRecord>, std::vector<std::string>> kCases[] = {
      {bob, {live("bob", kUserLost, 120)}, {"bob"}},
      {bob, {live("bob", kUserLost, 121)}, {"bob", "bob"}},
      {bob, {live("bob", kUserWon, 0)}, {"bob", "bob"}},
      {bob, {live("bob", kUserLost, 0, false)}, {"bob", "bob"}},
      {bob, {live("carl", kUserLost, 0)}, {"bob", "carl"}},
      {bob, {live("bob", kUserLost, 0), live("bob", kUserLost, 60)}, {"bob", "bob"}},
      {"", {live("bob", kUserLost, 0), live("bob", kUserLost, 60)}, {"bob", "bob"}},  // no PGN
  };
  for (const auto& [pgn, played, opponents] : kCases)
    EXPECT_EQ(Opponents(import(pgn, played)), opponents);
}

}  // namespace
}  // namespace tessik
