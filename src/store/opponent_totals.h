// Won, drawn and lost games against each opponent, in handle order without regard to case.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/game_record.h"

namespace tessik {

struct OpponentTotals {
  std::string name;  // letter case of the first game counted
  int32_t won = 0;
  int32_t drawn = 0;
  int32_t lost = 0;
};

// Behaves as a sorted list between two sentinels: the head (empty name) and the tail (a name
// that sorts after every handle), walked with a cursor. Counting a game is a hash lookup; the
// order is settled when a walk or a completion needs it.
class OpponentTotalsList {
 public:
  OpponentTotalsList();

  // Counts one game against name: index 0 won, 1 drawn, 2 lost. Guests, anonymous players and
  // other indexes are not counted.
  void AddResult(std::string_view name, int index);
  // Counts won, drawn and lost games against name at once, as that many AddResult calls do.
  void AddResults(std::string_view name, const std::array<int32_t, 3>& results);

  // Puts the cursor on the head sentinel, or with skipHead on the first entry after it.
  void ResetCursor(bool skipHead);
  // Copies the entry under the cursor and moves on: 1, or 0 when it copied the tail sentinel.
  int NextEntry(OpponentTotals& out);

  // Adds every entry's counts to the three totals; returns the number of opponents.
  int SumAll(int32_t& won, int32_t& drawn, int32_t& lost) const;

  // The first opponent not sorting before prefix when it begins with prefix, else the one
  // before it, else an empty text.
  std::string CompleteName(std::string_view prefix) const;

  size_t size() const { return entries_.size(); }

 private:
  const std::vector<const OpponentTotals*>& Sorted() const;

  std::unordered_map<std::string, OpponentTotals> entries_;  // by the handle in lower case
  mutable std::vector<const OpponentTotals*> sorted_;
  mutable bool sortedValid_ = true;
  OpponentTotals head_;
  OpponentTotals tail_;
  size_t cursor_ = 0;  // 0 the head, 1 to n the entries, n + 1 the tail
};

// Counts every game of a log, as a login does: the marker's result is not counted. The games are
// first counted per opponent field (16 bytes, hashed as two words), then each opponent once into
// the totals: a million games against thousands of opponents fold a handle's case thousands of
// times, not a million.
void CountLogGames(OpponentTotalsList& totals, const std::vector<GameRecord>& log);

}  // namespace tessik
