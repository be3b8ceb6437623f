// Numbers for the opponent fields of a log's records (their 16 bytes as they are), so that the
// counts over a million games index flat arrays instead of looking names up.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "store/game_record.h"
#include "store/slot_table.h"

namespace tessik {

class OpponentFields {
 public:
  // Given to a record without a result (the marker, a damaged record): it is counted nowhere.
  static constexpr uint32_t kNone = UINT32_MAX;

  // numbers[i] becomes the number of games[i]'s opponent field: 0 for the first field met, 1 for
  // the next, ...; kNone for a game without a result, whose field is not numbered.
  void Number(std::span<const GameRecord> games, std::vector<uint32_t>& numbers);

  size_t size() const { return fields_.size(); }
  // The field of a number: the opponent's name as the record holds it.
  std::string_view Name(uint32_t number) const;

 private:
  struct Field {
    uint64_t words[2];
  };
  // The number + 1 in a slot's lower half; its upper half tells most other fields apart.
  static constexpr uint64_t kNumberBits = 0xFFFFFFFF;

  // The index's slot for a field: 0 when it is free.
  uint64_t& SlotOf(const uint64_t (&words)[2]);
  uint32_t NumberOf(const uint64_t (&words)[2]);

  std::vector<Field> fields_;  // in the order first met
  // Open addressing: a power of two, at most half used.
  std::vector<uint64_t> index_ = std::vector<uint64_t>(kFirstSlots);
};

}  // namespace tessik
