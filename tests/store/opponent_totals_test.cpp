#include "store/opponent_totals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessik {
namespace {

struct Row {
  std::string name;
  int won, drawn, lost;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << row.name << " " << row.won << " " << row.drawn << " " << row.lost;
}

std::vector<Row> Walk(OpponentTotalsList& list) {
  std::vector<Row> rows;
  list.ResetCursor(true);
  for (OpponentTotals entry; list.NextEntry(entry) == 1;) {
    rows.push_back({entry.name, entry.won, entry.drawn, entry.lost});
  }
  return rows;
}

TEST(OpponentTotals, NamesMergeWithoutRegardToCaseKeepingTheFirstSpelling) {
  OpponentTotalsList list;
  list.AddResult("Alpha", 0);
  list.AddResult("alpha", 2);
  list.AddResult("ALPHA", 2);
  EXPECT_EQ(Walk(list), (std::vector<Row>{{"Alpha", 1, 0, 2}}));
}

TEST(OpponentTotals, OrderIgnoresCaseAndPutsTheUnderscoreBeforeLetters) {
  OpponentTotalsList list;
  for (const char* name : {"bob", "Carl", "alice", "b_x", "B1"}) list.AddResult(name, 1);
  std::vector<std::string> names;
  for (const Row& row : Walk(list)) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::string>{"alice", "B1", "b_x", "bob", "Carl"}));
  list.AddResult("aaron", 0);  // a name added after a walk takes its place in the next
  EXPECT_EQ(Walk(list).front().name, "aaron");
}

TEST(OpponentTotals, GuestsAndBadIndexesAreNotCounted) {
  OpponentTotalsList list;
  list.AddResult("GuestXY", 0);
  list.AddResult("anonymous1", 1);
  list.AddResult("bob", -1);
  list.AddResult("bob", 3);
  list.AddResult("Anon", 0);
  EXPECT_TRUE(Walk(list).empty());
  list.AddResult("anno", 0);
  EXPECT_EQ(Walk(list).size(), 1u);
}

TEST(OpponentTotals, CursorDeliversTheSentinelsAtBothEnds) {
  OpponentTotalsList list;
  list.AddResult("bob", 0);
  OpponentTotals entry;
  list.ResetCursor(false);
  ASSERT_EQ(list.NextEntry(entry), 1);
  EXPECT_EQ(entry.name, "");
  ASSERT_EQ(list.NextEntry(entry), 1);
  EXPECT_EQ(entry.name, "bob");
  EXPECT_EQ(list.NextEntry(entry), 0);
  EXPECT_EQ(entry.name, std::string(30, '\xFF'));
  EXPECT_EQ(list.NextEntry(entry), 0);  // the cursor stays on the tail
  OpponentTotalsList empty;
  empty.ResetCursor(true);
  EXPECT_EQ(empty.NextEntry(entry), 0);
}

TEST(OpponentTotals, SumAllAddsToTheGivenTotals) {
  OpponentTotalsList list;
  int32_t won = 1, drawn = 2, lost = 3;
  EXPECT_EQ(list.SumAll(won, drawn, lost), 0);
  EXPECT_EQ(won + drawn + lost, 6);
  list.AddResult("bob", 0);
  list.AddResult("carl", 1);
  list.AddResult("carl", 2);
  EXPECT_EQ(list.SumAll(won, drawn, lost), 2);
  EXPECT_EQ(won, 2);
  EXPECT_EQ(drawn, 3);
  EXPECT_EQ(lost, 4);
}

TEST(OpponentTotals, CompleteNameFindsThePrefixOrTheNameBefore) {
  OpponentTotalsList list;
  list.AddResult("carl", 0);
  list.AddResult("dave", 0);
  EXPECT_EQ(list.CompleteName("ca"), "carl");
  EXPECT_EQ(list.CompleteName("D"), "dave");
  EXPECT_EQ(list.CompleteName("cb"), "carl");
  EXPECT_EQ(list.CompleteName("zed"), "dave");
  EXPECT_EQ(list.CompleteName("a"), "");
  list.AddResult("Abc", 0);
  list.AddResult("abd", 0);
  EXPECT_EQ(list.CompleteName("ab"), "Abc");
}

}  // namespace
}  // namespace tessik
