#include "store/opponent_totals.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/records.h"

namespace tessik {
namespace {

TEST(OpponentTotals, GamesCountPerOpponentInHandleOrderWithoutRegardToCase) {
  OpponentTotalsList list;
  // opponent; 0 won, 1 drawn, 2 lost
  const std::pair<const char*, int> kGames[] = {
      {"bob", 1}, {"Carl", 0},    {"alice", 2},      {"BOB", 0},  {"b_x", 1}, {"B1", 2},
      {"bob", 2}, {"GuestXY", 0}, {"aNonymous1", 1}, {"bob", -1}, {"bob", 3}, {"anno", 0},
  };
  for (auto [name, index] : kGames) list.AddResult(name, index);
  list.AddResult("abcdefghijklmnopq", 0);  // known by the 15 characters a record keeps
  list.AddResult("abcdefghijklmnoZ", 1);
  std::vector<std::string> rows;  // a walk from the head to the tail
  list.ResetCursor(false);
  for (OpponentTotals e; list.NextEntry(e) == 1;) {
    rows.push_back(e.name + " " + std::to_string(e.won * 100 + e.drawn * 10 + e.lost));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{" 0", "abcdefghijklmno 110", "alice 1", "anno 100",
                                            "B1 1", "b_x 10", "bob 111", "Carl 100"}));
}

TEST(OpponentTotals, ALogIsCountedByHandleWhateverFollowsItsFieldsEnd) {
  // A field may hold bytes after the handle's NUL (an older program's leftovers) or no NUL at
  // all (16 characters): a handle is its first 15 characters, up to a NUL.
  std::vector<GameRecord> games = {GameAgainst("Dora", kDraw),
                                   GameAgainst("dora", kUserWon),
                                   GameAgainst("dORA", kUserLost),
                                   GameAgainst("guest7", kUserWon),
                                   GameAgainst("abcdefghijklmnop", kUserWon),
                                   GameAgainst("abcdefghijklmnoq", kDraw)};
  std::memcpy(games[1].opponent, "dora\0junk", 9);
  std::memcpy(games[4].opponent, "abcdefghijklmnop", 16);
  OpponentTotalsList list;
  CountLogGames(list, LogOf(games));
  std::vector<std::string> rows;
  list.ResetCursor(true);
  for (OpponentTotals e; list.NextEntry(e) == 1;) {
    rows.push_back(e.name + " " + std::to_string(e.won * 100 + e.drawn * 10 + e.lost));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"abcdefghijklmno 110", "Dora 111"}));
}

TEST(OpponentTotals, CompleteNameFindsThePrefixElseTheNameBefore) {
  OpponentTotalsList list;
  for (const char* name : {"carl", "Carla", "dave", "eve", "Abc", "abd"}) list.AddResult(name, 0);
  // prefix, name
  const std::pair<const char*, const char*> kCases[] = {
      {"ca", "carl"},  {"CARL", "carl"}, {"carla", "Carla"}, {"D", "dave"},  {"cb", "Carla"},
      {"d0", "Carla"}, {"zed", "eve"},   {"ab", "Abc"},      {"abe", "abd"}, {"0", ""},
  };
  for (auto [prefix, name] : kCases) EXPECT_EQ(list.CompleteName(prefix), name) << prefix;
}

}  // namespace
}  // namespace tessik
