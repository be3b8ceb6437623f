// Names close to one that matched none: what the user may have meant.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tessik {

// The names by their edit distance to name, letter case aside, the closest first and equals in
// the set's order; at most count of them.
std::vector<std::string> ClosestNames(const std::set<std::string>& names, std::string_view name,
                                      size_t count);

// The names that begin with prefix, letter case aside: one for each name as folded (the first
// in the set's order), in folded order. The prefix rule of the window's look-up, without the
// guess: several names are all given.
std::vector<std::string> NamesBeginningWith(const std::set<std::string>& names,
                                            std::string_view prefix);

}  // namespace tessik
