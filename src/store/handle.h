// Rules about the server handles the plug-in meets.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/text.h"
#include "store/game_record.h"

namespace tessik {

// A guest or anonymous login: "guest" or "anon" at the start, in any letter case.
bool IsGuestHandle(std::string_view handle);

// Whether a handle may become part of a file name: 1 to 64 letters, digits, "-" or "_".
bool IsSafeFileHandle(std::string_view handle);

// A name from the host as it is printed: on one line, each control character shown in caret
// notation (a line feed as ^J, DEL as ^?), so that no name can break a line in two.
std::string PrintableName(std::string_view name);

// Tells whether a record's opponent field holds one handle as the log keeps it: its first 15
// characters, then a NUL when it is shorter. The one test of "a game against this player" for
// score lines, the record against a player and its look-up; compares the field as two words
// under a mask.
//
// With ignoreCase, letter case aside, as the opponents' totals count a player: for tessik-stats,
// which counts an opponent's spellings as one. The score lines match exactly.
class HandleMatcher {
 public:
  explicit HandleMatcher(std::string_view handle, bool ignoreCase = false);
  bool Matches(const GameRecord& record) const { return MatchesField(record.opponent); }
  // The same test on an opponent field's 16 bytes where they lie, in a record not yet decoded.
  bool MatchesField(const char* opponent) const {
    uint64_t field[2];
    std::memcpy(field, opponent, sizeof field);
    if (ignoreCase_) {
      field[0] = FoldedCaseWord(field[0]);
      field[1] = FoldedCaseWord(field[1]);
    }
    return ((field[0] & mask_[0]) == key_[0]) & ((field[1] & mask_[1]) == key_[1]);
  }

 private:
  uint64_t key_[2];
  uint64_t mask_[2];
  bool ignoreCase_;
};

}  // namespace tessik
