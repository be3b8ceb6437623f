// A count over a long log on two cores: each core counts the games against its part of the
// opponents. The part is told by the handle as the totals know it (its first 15 characters,
// letter case aside), so that every spelling of one player falls in one part and is counted
// there in the log's order, and the parts' opponents never meet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/text.h"
#include "store/game_record.h"
#include "store/slot_table.h"

namespace tessik {

inline constexpr size_t kCountParts = 2;

// The part of the games against the player of an opponent field (its 16 bytes where they lie):
// 0 or 1.
inline size_t CountPartOf(const char* opponent) {
  uint64_t words[2];
  std::memcpy(words, opponent, sizeof words);
  words[1] &= 0x00FFFFFFFFFFFFFFu;  // the 16th byte is never the handle's (little-endian)
  // The bytes from the first NUL on are not the handle's either: the lowest byte that the
  // subtraction borrows through is the first NUL exactly.
  constexpr uint64_t kOnes = 0x0101010101010101u, kHighBits = 0x8080808080808080u;
  const auto bytesBeforeNul = [](uint64_t word) {
    const uint64_t nuls = (word - kOnes) & ~word & kHighBits;
    return nuls == 0 ? ~uint64_t{0} : ((nuls & -nuls) >> 7) - 1;
  };
  const uint64_t first = bytesBeforeNul(words[0]);
  words[0] &= first;
  words[1] = first == ~uint64_t{0} ? words[1] & bytesBeforeNul(words[1]) : 0;
  return static_cast<size_t>(SlotHash(FoldedCaseWord(words[0]), FoldedCaseWord(words[1])) >> 63);
}

}  // namespace tessik
