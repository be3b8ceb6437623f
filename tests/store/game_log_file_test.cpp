#include "store/game_log_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "support/records.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

// A session's games appended to ann's log, as the plug-in appends them.
void Append(int folder, const std::vector<std::string>& opponents) {
  std::vector<GameRecord> games;
  for (const std::string& opponent : opponents) games.push_back(GameAgainst(opponent, kUserWon));
  ASSERT_FALSE(AppendGameRecords(folder, "ann", games));
}

// Another rewrite of ann's log, done meanwhile.
void AnotherRewrite(int, const TempDirectory& dir) {
  WriteFile(dir / "other", EncodeGameLog(LogOf({GameAgainst("x", kDraw)})));
  std::filesystem::rename(dir / "other", dir / "ann.glg");
}

// A rewrite of the log (a first import, a conversion) meets sessions that append while it
// writes: what happens between its read and its rename, and what the log then holds.
TEST(GameLogFile, ARewriteKeepsTheWholeGamesSessionsAppendedMeanwhile) {
  struct Row {
    const char* name;
    bool logBefore;  // false: the rewrite found no log
    std::function<void(int folder, const TempDirectory& dir)> meanwhile;
    int error;
    std::vector<std::string> after;  // the opponents of the log's games afterwards
  } rows[] = {
      {"nothing", true, [](int, const TempDirectory&) {}, 0, {"new1", "new2"}},
      {"two games",
       true,
       [](int folder, const TempDirectory&) {
         Append(folder, {"a", "b"});
       },
       0,
       {"new1", "new2", "a", "b"}},
      {"a game, then one torn by a crash",
       true,
       [](int folder, const TempDirectory& dir) {
         Append(folder, {"c"});
         const int fd = open((dir / "ann.glg").c_str(), O_WRONLY | O_APPEND);
         ASSERT_EQ(write(fd, "torn", 4), 4);
         close(fd);
       },
       0,
       {"new1", "new2", "c"}},
      // The session began the log with its own marker: the rewrite has one.
      {"the first games of a new log",
       false,
       [](int folder, const TempDirectory&) { Append(folder, {"d"}); },
       0,
       {"new1", "new2", "d"}},
      {"another rewrite", true, AnotherRewrite, EBUSY, {"x"}},
      {"another rewrite of no log", false, AnotherRewrite, EBUSY, {"x"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDirectory dir;
    const int folder = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    if (row.logBefore) WriteFile(dir / "ann.glg", EncodeGameLog(LogOf({GameAgainst("old", 1)})));
    std::vector<GameRecord> read;
    LogMark mark;
    EXPECT_EQ(ReadGameLogFile(folder, "ann", read, &mark).value(), row.logBefore ? 0 : ENOENT);
    const std::vector<GameRecord> rewritten =
        LogOf({GameAgainst("new1", kDraw), GameAgainst("new2", kUserLost)});
    GameLogPieces pieces(rewritten);
    bool begun = false;
    const auto piecesMeanwhile = [&]() -> std::string_view {
      if (!std::exchange(begun, true)) row.meanwhile(folder, dir);
      return pieces();
    };
    EXPECT_EQ(RewriteGameLog(folder, "ann", mark, "ann.glg.12", "", Backup::None, piecesMeanwhile)
                  .value(),
              row.error);
    const std::vector<GameRecord> log = DecodeLog(ReadFile(dir / "ann.glg"));
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(HoldsMarker(log.front()));
    EXPECT_EQ(Opponents(log), row.after);
    close(folder);
  }
}

}  // namespace
}  // namespace tessik
