// A new user's first import as a host plays it: games played before it, and the host's file
// naming the PGN in any bytes.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/game_record.h"
#include "support/game_rows.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

using Lines = std::vector<std::string>;

std::string PgnGame(const std::string& black, const std::string& date = "2020.01.02") {
  return "[Date \"" + date + "\"]\n[Time \"10:00:00\"]\n[White \"ann\"]\n[Black \"" + black +
         "\"]\n[Result \"1-0\"]\n[TimeControl \"180\"]\n\n1. e4 1-0\n\n";
}

// Local time of a start time, as a PGN's Date and Time tags give it.
std::string PgnDate(int32_t startTime, const char* format) {
  std::time_t when = startTime;
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

TEST(FirstImport, GamesPlayedBeforeTheImportAreKeptAndCountedOnce) {
  std::filesystem::path dir = FreshDirectory("early-game");
  SimRun first = RunSim(dir, Login() + WonGame("7", "carl") + WonGame("8", "dora"));
  EXPECT_EQ(first.status, 0);
  std::vector<GameRecord> played = DecodeLog(ReadFile(dir / "tessik/ann.glg"));
  ASSERT_EQ(played.size(), 3u);
  EXPECT_TRUE(AwaitsFirstImport(played[0]));
  // The host has added the game against carl to the PGN since; the one against dora not.
  const int32_t carlStarted = played[1].startTime;
  std::ofstream(dir / "ann.pgn") << PgnGame("bob") << PgnGame("bob", "2020.01.03") << "[Date \""
                                 << PgnDate(carlStarted, "%Y.%m.%d") << "\"]\n[Time \""
                                 << PgnDate(carlStarted, "%H:%M:%S")
                                 << "\"]\n[White \"ann\"]\n[Black \"carl\"]\n[Result \"1-0\"]\n"
                                    "[TimeControl \"180\"]\n\n1. e4 1-0\n";

  SimRun second =
      RunSim(dir, Login() + "dg 1 130 \"Finger of carl:\"\n" + kRatingRow +
                      "sync\ndg 1 130 \"Finger of carl:\"\ndg 1 130 \"Finger of bob:\"\n");
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(Lines(second.lines.begin() + 12, second.lines.end()),
            (Lines{"6 87", "3 Score against carl +1 =0 -0 (100%)\\n", "8 87",
                   "3 Score against carl +1 =0 -0 (100%)\\n",
                   "3 Score against bob +2 =0 -0 (100%)\\n", "exit 0"}));
  std::vector<GameRecord> log = DecodeLog(ReadFile(dir / "tessik/ann.glg"));
  ASSERT_EQ(log.size(), 5u);
  EXPECT_FALSE(AwaitsFirstImport(log[0]));
  EXPECT_EQ(OpponentName(log[3]), "carl");
  EXPECT_EQ(log[3].origin, 0);  // kept as imported
  EXPECT_EQ(OpponentName(log[4]), "dora");
  EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 2 0 0\ncarl 1 0 0\ndora 1 0 0\n");

  SimRun third = RunSim(dir, Login());
  EXPECT_EQ(Lines(third.lines.begin() + 12, third.lines.end()), Lines{"exit 0"});
  std::filesystem::remove_all(dir);
}

TEST(FirstImport, HostFileNamesThePgnInAnyLetters) {
  std::filesystem::path dir = FreshDirectory("letters");
  const std::string latin1 = "Jos\xe9", utf8 = "Jos\xc3\xa9";
  struct Case {
    std::string folder;
    std::string hostFile;  // what the host's file says, after "host "
  };
  const Case cases[] = {
      {latin1, (dir / latin1 / "me.pgn").string()},
      {utf8, (dir / utf8 / "me.pgn").string()},
      {utf8 + " 2", "Z:" + (dir / (utf8 + " 2") / "me.pgn").string()},  // a Windows host's form
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hostFile);
    std::filesystem::remove(dir / "tessik/ann.glg");
    std::filesystem::create_directories(dir / c.folder);
    std::ofstream(dir / c.folder / "me.pgn") << PgnGame("bob");
    std::string hostFile = c.hostFile;
    if (hostFile.rfind("Z:", 0) == 0) {
      for (char& ch : hostFile) ch = ch == '/' ? '\\' : ch;
    }
    std::ofstream(dir / "ann.vx2", std::ios::binary)
        << std::string("host\0", 5) << hostFile << std::string("\0", 1);
    SimRun run = RunSim(dir, Login() + kRatingRow);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(DecodeLog(ReadFile(dir / "tessik/ann.glg")).size(), 2u);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tessik
