// Open addressing over keys of two 64-bit words, for the tables that count a million games
// against tens of thousands of opponents: an index of slots (a power of two), each 0 when free,
// else an item's place + 1.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessik {

// The tables start small (a short log, a new session) and double as they fill.
inline constexpr size_t kFirstSlots = 16;

// The smallest table of slots that holds count keys at most half full.
inline size_t SlotsFor(size_t count) { return std::max(kFirstSlots, std::bit_ceil(2 * count)); }

// Where the search for a key of two words begins in a table of slots (a power of two).
// Multiplicative hashing: the product's high bits depend on every bit of both words, and a
// handle's differing characters may lie anywhere in them.
inline uint64_t SlotHash(uint64_t first, uint64_t second) {
  return (first ^ (second * 0xC2B2AE3D27D4EB4Fu)) * 0x9E3779B97F4A7C15u;
}
inline size_t FirstSlot(uint64_t first, uint64_t second, size_t slotCount) {
  return static_cast<size_t>(SlotHash(first, second) >> (64 - std::countr_zero(slotCount)));
}

// The slot of a key of two words in index: the slot of the item holdsKey(place) says holds it,
// else the free slot where it goes. Linear probing.
template <class HoldsKey>
uint32_t& SlotFor(std::vector<uint32_t>& index, uint64_t first, uint64_t second,
                  HoldsKey holdsKey) {
  const size_t mask = index.size() - 1;
  for (size_t i = FirstSlot(first, second, index.size());; i = (i + 1) & mask) {
    uint32_t& slot = index[i];
    if (slot == 0 || holdsKey(slot - 1)) return slot;
  }
}

}  // namespace tessik
