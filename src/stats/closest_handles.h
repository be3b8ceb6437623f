// Handles of the log close to a name that matched none: what the user may have meant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/game_record.h"

namespace tessik {

// The opponents of log (from record 1) by their edit distance to name, letter case aside, the
// closest first and equals in handle order; at most count of them.
std::vector<std::string> ClosestHandles(const std::vector<GameRecord>& log, std::string_view name,
                                        size_t count);

}  // namespace tessik
