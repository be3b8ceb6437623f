#include "store/opponent_fields.h"

#include <cstring>

#include "store/slot_table.h"

namespace tessik {

namespace {

struct Hashed {
  size_t first;  // the slot where the search begins
  uint64_t tag;  // kept in the slot's upper half, beside the number
};

Hashed HashOf(const uint64_t (&words)[2], size_t slotCount) {
  return {FirstSlot(words[0], words[1], slotCount), SlotHash(words[0], words[1]) >> 32 << 32};
}

}  // namespace

uint64_t& OpponentFields::SlotOf(const uint64_t (&words)[2]) {
  // Most slots of a search that do not hold the field are told by their tag, without a look at
  // a field elsewhere in memory, and the field compared is nearly always the one.
  const Hashed hashed = HashOf(words, index_.size());
  const size_t mask = index_.size() - 1;
  for (size_t i = hashed.first;; i = (i + 1) & mask) {
    uint64_t& slot = index_[i];
    if (slot == 0) return slot;
    if ((slot & ~kNumberBits) == hashed.tag) {
      const Field& field = fields_[(slot & kNumberBits) - 1];
      if (field.words[0] == words[0] && field.words[1] == words[1]) return slot;
    }
  }
}

uint32_t OpponentFields::NumberOf(const uint64_t (&words)[2]) {
  uint64_t* slot = &SlotOf(words);
  if (*slot == 0) {
    if (2 * (fields_.size() + 1) > index_.size()) {
      index_.assign(2 * index_.size(), 0);
      for (uint32_t i = 0; i < fields_.size(); ++i) {
        SlotOf(fields_[i].words) = HashOf(fields_[i].words, index_.size()).tag | (i + 1);
      }
      slot = &SlotOf(words);
    }
    fields_.push_back({{words[0], words[1]}});
    *slot = HashOf(words, index_.size()).tag | fields_.size();
  }
  return static_cast<uint32_t>((*slot & kNumberBits) - 1);
}

void OpponentFields::Number(std::span<const GameRecord> games, std::vector<uint32_t>& numbers) {
  numbers.resize(games.size());
  // A million games against tens of thousands of opponents find their slots at random, in a
  // table larger than the processor's nearer caches: each game's slot is asked for a few games
  // before it is needed, so that the waits on memory overlap instead of adding up. A hint only:
  // a slot that turns out not to be the game's (the table grew meanwhile) costs a wait.
  constexpr size_t kAhead = 16;
  uint64_t words[2];
  for (size_t i = 0; i < games.size(); ++i) {
    if (i + kAhead < games.size()) {
      std::memcpy(words, games[i + kAhead].opponent, sizeof words);
      __builtin_prefetch(&index_[HashOf(words, index_.size()).first]);
    }
    std::memcpy(words, games[i].opponent, sizeof words);
    numbers[i] = HasResult(games[i]) ? NumberOf(words) : kNone;
  }
}

std::string_view OpponentFields::Name(uint32_t number) const {
  const char* bytes = reinterpret_cast<const char*>(fields_[number].words);
  return {bytes, strnlen(bytes, kOpponentBytes)};
}

}  // namespace tessik
