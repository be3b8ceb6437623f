#include "store/opponent_fields.h"

#include <algorithm>
#include <cstring>

#include "store/slot_table.h"

namespace tessik {

uint32_t& OpponentFields::SlotOf(const uint64_t (&words)[2]) {
  if (index_.empty()) index_.assign(kFirstSlots, 0);
  return SlotFor(index_, words[0], words[1], [this, &words](uint32_t field) {
    return fields_[field].words[0] == words[0] && fields_[field].words[1] == words[1];
  });
}

uint32_t OpponentFields::NumberOf(const uint64_t (&words)[2]) {
  uint32_t* slot = &SlotOf(words);
  if (*slot == 0) {
    if (2 * (fields_.size() + 1) > index_.size()) {
      index_.assign(2 * index_.size(), 0);
      for (uint32_t i = 0; i < fields_.size(); ++i) SlotOf(fields_[i].words) = i + 1;
      slot = &SlotOf(words);
    }
    fields_.push_back({{words[0], words[1]}});
    *slot = static_cast<uint32_t>(fields_.size());
  }
  return *slot - 1;
}

void OpponentFields::Number(std::span<const GameRecord> games, std::vector<uint32_t>& numbers) {
  if (index_.empty()) index_.assign(kFirstSlots, 0);
  numbers.resize(games.size());
  // A million games against tens of thousands of opponents find their slots and fields at
  // random, in tables larger than the processor's nearer caches. A group of games asks for its
  // slots together, then for their fields, so that the waits on memory overlap instead of adding
  // up one game after another; the numbering itself then finds both in the cache. The prefetches
  // are hints only: a slot that turns out not to be the game's costs a wait, never a number.
  constexpr size_t kGroup = 16;
  uint64_t words[kGroup][2];
  for (size_t first = 0; first < games.size(); first += kGroup) {
    const size_t count = std::min(kGroup, games.size() - first);
    for (size_t i = 0; i < count; ++i) {
      std::memcpy(words[i], games[first + i].opponent, sizeof words[i]);
      __builtin_prefetch(&index_[FirstSlot(words[i][0], words[i][1], index_.size())]);
    }
    for (size_t i = 0; i < count; ++i) {
      const uint32_t slot = index_[FirstSlot(words[i][0], words[i][1], index_.size())];
      if (slot != 0) __builtin_prefetch(&fields_[slot - 1]);
    }
    for (size_t i = 0; i < count; ++i) {
      const int8_t result = games[first + i].result;
      const bool counted = result >= kUserWon && result <= kUserLost;
      numbers[first + i] = counted ? NumberOf(words[i]) : kNone;
    }
  }
}

std::string_view OpponentFields::Name(uint32_t number) const {
  const char* bytes = reinterpret_cast<const char*>(fields_[number].words);
  return {bytes, strnlen(bytes, kOpponentBytes)};
}

}  // namespace tessik
