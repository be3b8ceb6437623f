#include "store/field_results.h"

#include "store/slot_table.h"

namespace tessik {

FieldResults::Slot& FieldResults::SlotOf(const uint64_t (&words)[2]) {
  const size_t mask = slots_.size() - 1;
  for (size_t i = FirstSlot(words[0], words[1], slots_.size());; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (IsFree(slot) || (slot.words[0] == words[0] && slot.words[1] == words[1])) return slot;
  }
}

void FieldResults::Grow() {
  std::vector<Slot> old(2 * slots_.size());
  old.swap(slots_);
  for (uint32_t& place : firstMet_) {
    Slot& slot = SlotOf(old[place].words);
    slot = old[place];
    place = static_cast<uint32_t>(&slot - slots_.data());
  }
}

void FieldResults::Count(std::span<const GameRecord> games) {
  constexpr size_t kAhead = 16;  // the slot of the game this far ahead is asked for now
  uint64_t words[2];
  for (size_t i = 0; i < games.size(); ++i) {
    if (i + kAhead < games.size()) {
      std::memcpy(words, games[i + kAhead].opponent, sizeof words);
      __builtin_prefetch(&slots_[FirstSlot(words[0], words[1], slots_.size())]);
    }
    if (!HasResult(games[i])) continue;
    std::memcpy(words, games[i].opponent, sizeof words);
    Slot* slot = &SlotOf(words);
    if (IsFree(*slot)) {
      if (2 * (firstMet_.size() + 1) > slots_.size()) {
        Grow();
        slot = &SlotOf(words);
      }
      slot->words[0] = words[0];
      slot->words[1] = words[1];
      slot->order = static_cast<uint32_t>(firstMet_.size());
      firstMet_.push_back(static_cast<uint32_t>(slot - slots_.data()));
    }
    ++slot->results[static_cast<size_t>(games[i].result - kUserWon)];
  }
}

}  // namespace tessik
