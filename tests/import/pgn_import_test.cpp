#include "import/pgn_import.h"
#include "platform/private_directory.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "import/line_reader.h"
#include "import/pgn_game.h"
#include "import/pgn_parts.h"
#include "import/pgn_walker.h"
#include "support/records.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

// ann's game with these tags ("Name=value|...") over the defaults: its record, or "-" if not kept.
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
      {"Result=1/2-1/2", drawn},
      {"Result=*|KeshResult=Black forfeits on time", won},
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
  GameRecord record;
  for (const auto& [tags, kept] : kCases) EXPECT_EQ(Kept(tags, record), kept) << tags;
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

// The lines of text, from a file and from memory alike: Next gives each without its end (one
// longer than a block, 1 MiB, is skipped whole); NextStartingWith('[') first passes over lines
// up to one that begins with a bracket, as the movetext between games is passed over. A bracket
// within a line is no line's start, even where a block ends.
TEST(LineReader, LinesWithoutTheirEndsTooLongOnesSkippedOrPassedOverToABracket) {
  const std::string block(1 << 20, 'x');
  // text, whether to pass over to a bracket first, the lines given
  const std::tuple<std::string, bool, std::vector<std::string>> kCases[] = {
      {"a\r\nb\n\n\rc\r\r\n\r\nlast", false, {"a", "b", "", "\rc\r", "", "last"}},
      {block + "\nnext\n" + block + "y", false, {"next"}},
      {"x\n" + block + block + "\r\nnext", false, {"x", "next"}},
      {"1. e4 {[%clk 0:01]} e5\r\n[Event \"x\"]\r\nnext", true, {"[Event \"x\"]", "next"}},
      {"[at once\nthen", true, {"[at once", "then"}},
      {block + "[mid-line\n[y\n", true, {"[y"}},
      {"x\n[" + block + "\n[short\nend", true, {"[short", "end"}},
      {"a\nb\n[last", true, {"[last"}},
      {"a\nb [no\n", true, {}},
  };
  TempDirectory directory;
  for (const auto& [text, toBracket, expected] : kCases) {
    WriteFile(directory / "f", text);
    const int fd = open((directory / "f").c_str(), O_RDONLY);
    for (ByteSource source : {ByteSource(fd), ByteSource(std::string_view(text))}) {
      LineReader reader(source);
      std::vector<std::string> lines;
      std::string_view line;  // one call more than there are lines: the reader is at its end
      if (toBracket && reader.NextStartingWith('[', line)) lines.emplace_back(line);
      while (lines.size() <= expected.size() && reader.Next(line)) lines.emplace_back(line);
      EXPECT_EQ(lines, expected) << text.substr(0, 40);
      EXPECT_FALSE(reader.Next(line) || reader.Failed());
    }
    close(fd);
  }
}

// A game of the server's PGN; the user is ann.
std::string Game(const std::string& black, const std::string& result, const std::string& tag = "") {
  return "[Date \"2020.01.02\"]\n[Time \"03:04:05\"]\n[White \"ann\"]\n[Black \"" + black +
         "\"]\n[Result \"" + result + "\"]\n" + tag + "\n1. e4 e5 {a comment}\n2. Nf3 " + result +
         "\n\n";
}

// Every game of the PGN with its own tags, neighbouring duplicates removed, then the games
// played live since the login unless the PGN holds them already: the same opponent, colour and
// result, started at most two minutes apart.
TEST(PgnImport, TheUsersGamesOfThePgnThenThoseOnlyPlayedLive) {
  TempDirectory directory;
  Folder folder;
  ASSERT_FALSE(OpenFolder(directory.path(), folder));
  auto import = [&](const char* pgn, const std::vector<GameRecord>& live) {
    std::remove((directory / "ann.pgn").c_str());
    std::remove((directory / "ann.glg").c_str());  // each import makes a first log
    if (pgn != nullptr) WriteFile(directory / "ann.pgn", pgn);
    std::vector<GameRecord> games;
    ImportOutcome outcome = ImportPgn(games, folder.fd(), {}, "ann", directory / "", {}, live);
    EXPECT_EQ(outcome.pgnError.value(), pgn == nullptr ? ENOENT : 0);
    EXPECT_EQ(ReadFile(directory / "ann.glg"), EncodeGameLog(games));
    return games;
  };
  const std::string bob = Game("bob", "0-1"), carl = Game("carl", "1-0"),
                    forfeit = Game("bob", "*", "[KeshResult \"White forfeits on time\"]\n");
  std::string crlf;
  for (char c : bob + carl) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf.resize(crlf.size() - 4);  // the last line without its end
  const int32_t start = import(bob.c_str(), {}).at(1).startTime;
  auto live = [start](const char* opponent, int8_t result, int apart) {
    GameRecord game = RatedGame(opponent, result, 3);
    game.startTime = start + apart;
    return game;
  };
  const std::tuple<std::string, std::vector<GameRecord>, std::vector<std::string>> kCases[] = {
      {crlf, {}, {"bob", "carl"}},
      {forfeit + Game("carl", "*"), {}, {"bob"}},  // no settling wording of its own
      {bob + bob + bob + carl + bob, {}, {"bob", "carl", "bob"}},
      {bob, {live("bob", kUserLost, 120)}, {"bob"}},
      {bob, {live("bob", kUserLost, 121)}, {"bob", "bob"}},
      {bob, {live("carl", kUserLost, 0)}, {"bob", "carl"}},
      {bob, {live("bob", kUserLost, 0), live("bob", kUserLost, 60)}, {"bob", "bob"}},
      {"-", {live("bob", kUserLost, 0), live("bob", kUserLost, 60)}, {"bob", "bob"}},  // no PGN
  };
  for (const auto& [pgn, played, opponents] : kCases) {
    EXPECT_EQ(Opponents(import(pgn == "-" ? nullptr : pgn.c_str(), played)), opponents);
  }
}

// The games walked from each part in turn, each as its tags "name=value;...".
std::vector<std::string> WalkedGames(const std::vector<ByteSource>& parts) {
  std::vector<std::string> games;
  for (ByteSource part : parts) {
    PgnWalker walker(part);
    std::string tags;
    const auto take = [&tags](std::string_view name, std::string_view value) {
      tags.append(name).append("=").append(value).append(";");
    };
    for (; walker.Next(take); tags.clear()) games.push_back(tags);
  }
  return games;
}

// A large PGN is cut where a game surely begins, at the first line that begins with a bracket
// after an empty line from its middle on, and its two parts are read side by side. Each case puts
// its text at the middle of games of the user against p0, p1, ...
TEST(PgnParts, ALargePgnIsCutOnlyWhereAGameBeginsAndReadsAsTheWhole) {
  const std::string longLine(70 << 10, 'x');  // ends beyond the 64 KiB looked at for a cut
  const std::pair<std::string, size_t> kCases[] = {
      {"[Event \"tags are not cut\"]\n[Site \"x\"]\n\n1. e4 *\n\n", 2},
      {"1. e4\r\n\r\n[Event \"after CR LF\"]\r\n\r\n1. e4 " + longLine + " *\r\n\r\n", 2},
      {"1. e4\n\n[%clk 0:01] a bracket after an empty line\n2. d4 *\n\n", 2},
      {"1. e4\n\n[" + longLine + "\n\n", 1},  // no cut: that line may be too long to keep
      {longLine + "\n\n", 1},                 // no game begins near the middle
  };
  TempDirectory directory;
  Folder folder;
  ASSERT_FALSE(OpenFolder(directory.path(), folder));
  for (const auto& [middle, partCount] : kCases) {
    std::string before, after;
    int count = 0;
    while (before.size() < (2 << 20)) before += Game("p" + std::to_string(count++), "1-0");
    while (after.size() <= before.size()) after += Game("p" + std::to_string(count++), "1-0");
    // A line of padding puts the middle of the file at the case's text.
    const std::string pgn = before +
                            std::string(after.size() - before.size() + middle.size() - 1, '.') +
                            "\n" + middle + after;
    WriteFile(directory / "ann.pgn", pgn);
    const int fd = open((directory / "ann.pgn").c_str(), O_RDONLY);
    for (ByteSource source : {ByteSource(fd), ByteSource(std::string_view(pgn))}) {
      const std::vector<ByteSource> parts = PgnParts(source, pgn.size());
      EXPECT_EQ(parts.size(), partCount) << middle.substr(0, 30);
      EXPECT_TRUE(WalkedGames(parts) == WalkedGames({source})) << middle.substr(0, 30);
    }
    close(fd);
    // The session's import of it: the games in order, the log written in batches of records.
    std::remove((directory / "ann.glg").c_str());
    std::vector<GameRecord> games;
    ASSERT_TRUE(ImportPgn(games, folder.fd(), {}, "ann", directory / "", {}).Complete());
    std::vector<std::string> expected;
    for (int i = 0; i < count; ++i) expected.push_back("p" + std::to_string(i));
    EXPECT_EQ(Opponents(games), expected);
    EXPECT_TRUE(ReadFile(directory / "ann.glg") == EncodeGameLog(games));
    const size_t read = WalkedGames({ByteSource(std::string_view(pgn))}).size();
    EXPECT_NE(ReadFile(directory / "pgn_read.txt")
                  .find("Read " + std::to_string(read) + " Games from the PGN, put " +
                        std::to_string(games.size()) + " in the gamelog\n"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace tessik
