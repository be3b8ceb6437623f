// Won, drawn and lost games against each opponent, in handle order without regard to case.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/count_parts.h"
#include "store/field_results.h"
#include "store/game_record.h"

namespace tessik {

struct OpponentTotals {
  std::string name;  // letter case of the first game counted
  int32_t won = 0;
  int32_t drawn = 0;
  int32_t lost = 0;
};

// A handle as the totals know it: its first 15 characters folded, padded with NUL bytes, in two
// big-endian words, which compare as the folded handles do (CompareNoCase's order).
struct HandleKey {
  uint64_t high = 0, low = 0;
  auto operator<=>(const HandleKey&) const = default;
};
// The key of a handle of at most 15 characters.
HandleKey HandleKeyOf(std::string_view handle);

// Behaves as a sorted list between two sentinels: the head (empty name) and the tail (a name
// that sorts after every handle), walked with a cursor. Counting a game is a lookup in a flat
// hash table; the order is settled when a walk or a completion needs it.
class OpponentTotalsList {
 public:
  OpponentTotalsList();

  // Counts one game against name: index 0 won, 1 drawn, 2 lost. Guests, anonymous players and
  // other indexes are not counted.
  void AddResult(std::string_view name, int index);
  // Counts won, drawn and lost games against name at once, as that many AddResult calls do.
  void AddResults(std::string_view name, const std::array<int32_t, 3>& results);
  // Makes room for this many more opponents at once, instead of step by step as they come.
  void Reserve(size_t opponents);

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
  struct Entry {
    HandleKey key;
    char name[kOpponentBytes];  // NUL-padded; the letter case of the first game counted
    int32_t results[3];         // won, drawn, lost
  };
  static OpponentTotals TotalsOf(const Entry& entry);
  // The index's slot for key: 0 when it is free, else the entry's place + 1.
  uint32_t& SlotOf(const HandleKey& key) const;
  void Reindex(size_t slotCount) const;
  // Sorts the entries by key (and indexes them again) once counting has added one.
  void Sort() const;

  mutable std::vector<Entry> entries_;   // in key order once sorted
  mutable std::vector<uint32_t> index_;  // open addressing: a power of two, at most half used
  mutable bool sorted_ = true;
  OpponentTotals head_;
  OpponentTotals tail_;
  size_t cursor_ = 0;  // 0 the head, 1 to n the entries, n + 1 the tail
};

// Counts games per opponent field (its 16 bytes as they are) before they go into totals: a
// million games against thousands of opponents then fold a handle's case thousands of times, not
// a million. The games are counted in two parts (CountPartOf), each with fields of its own, so
// that two threads can count a log at once.
class GameCounter {
 public:
  // Counts each game's result against its opponent field; the marker is not counted.
  void Count(std::span<const GameRecord> games);
  // Counts games that all belong to part, as Count does: two threads may each count a part of
  // their own at once.
  void CountPart(size_t part, std::span<const GameRecord> games) { parts_[part].Count(games); }
  // Adds the counts to totals, field by field in the order first met: the letter case of the
  // first game names an opponent, as counting game by game does.
  void AddTo(OpponentTotalsList& totals) const;
  // The opponents counted, in handle order, as a walk of totals that AddTo filled gives them.
  std::vector<OpponentTotals> Totals() const;

 private:
  std::array<FieldResults, kCountParts> parts_;
  std::vector<GameRecord> ofPart_;  // the games of one part of a batch that Count is given
};

// Counts every game of a log, as a login does: the marker's result is not counted.
void CountLogGames(OpponentTotalsList& totals, const std::vector<GameRecord>& log);

}  // namespace tessik
