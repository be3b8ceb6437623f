// The host's file names the user's PGN in whatever bytes its file system uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/game_rows.h"
#include "support/records.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

const char kPgn[] = "[White \"ann\"]\n[Black \"bob\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n";

TEST(FirstImport, HostFileNamesThePgnInAnyLetters) {
  TempDirectory dir;
  // the PGN's folder; whether the host's file names it as a Windows host does (Z:\...)
  const std::pair<std::string, bool> kCases[] = {
      {"Jos\xe9", false}, {"Jos\xc3\xa9", false}, {"Jos\xc3\xa9 2", true}};
  for (const auto& [folder, windows] : kCases) {
    std::filesystem::remove(dir / "tessik/ann.glg");
    WriteFile(dir / folder / "me.pgn", kPgn);
    std::string named = (dir / folder / "me.pgn").string();
    if (windows) {
      std::replace(named.begin(), named.end(), '/', '\\');
      named = "Z:" + named;
    }
    WriteFile(dir / "ann.vx2", std::string("host\0", 5) + named + '\0');
    SimRun run = RunSim(dir, Login() + kRatingRow);
    EXPECT_EQ(run.status, 0) << named;
    EXPECT_EQ(DecodeLog(ReadFile(dir / "tessik/ann.glg")).size(), 2u) << named;
  }
}

}  // namespace
}  // namespace tessik
