// Won, drawn and lost games per opponent field (its 16 bytes as they are), for the counts over a
// whole log.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// A million games against tens of thousands of opponents reach their fields at random, in a
// table larger than the processor's nearer caches. Each slot holds its field and its counts
// together, so that a game costs one wait on memory, and the slots of the games just ahead are
// asked for early, so that those waits overlap.
class FieldResults {
 public:
  // Counts each game's result against its field; a record without a result (the marker, a
  // damaged record) is counted nowhere.
  void Count(std::span<const GameRecord> games);

  // Hands visit(name, results) each field counted in the order first met: its handle as the
  // record holds it (up to a NUL, at most 16 characters) and its won, drawn and lost games.
  template <class Visit>
  void ForEach(Visit visit) const {
    for (const uint32_t place : firstMet_) visit(NameOf(slots_[place]), slots_[place].results);
  }
  // Hands visit(name, results, order) each field counted, in the table's order, which a pass
  // reads straight through: order tells the order first met, 0 for the first.
  template <class Visit>
  void ForEachInPlace(Visit visit) const {
    for (const Slot& slot : slots_) {
      if (!IsFree(slot)) visit(NameOf(slot), slot.results, slot.order);
    }
  }
  size_t size() const { return firstMet_.size(); }

 private:
  struct alignas(32) Slot {
    uint64_t words[2];
    std::array<int32_t, 3> results;  // all 0: the slot is free
    uint32_t order;                  // its field's place in the order first met
  };
  static bool IsFree(const Slot& slot) {
    return slot.results[0] == 0 && slot.results[1] == 0 && slot.results[2] == 0;
  }
  static std::string_view NameOf(const Slot& slot) {
    const char* bytes = reinterpret_cast<const char*>(slot.words);
    return {bytes, strnlen(bytes, kOpponentBytes)};
  }

  // The slot of a field: its own, else the free one where it goes.
  Slot& SlotOf(const uint64_t (&words)[2]);
  // A table twice as large, the fields placed again in the order first met.
  void Grow();

  std::vector<Slot> slots_ = std::vector<Slot>(16);  // a power of two, at most half used
  std::vector<uint32_t> firstMet_;                   // the slots used, in the order first met
};

}  // namespace tessik
