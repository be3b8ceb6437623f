#include "stats/closest_handles.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

#include "base/text.h"

namespace tessik {

namespace {

// Levenshtein distance: insertions, deletions and substitutions of one character each.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = std::exchange(row[0], i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t substituted = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
      diagonal = row[j];
      row[j] = std::min({substituted, row[j] + 1, row[j - 1] + 1});
    }
  }
  return row[b.size()];
}

}  // namespace

std::vector<std::string> ClosestNames(const std::set<std::string>& names, std::string_view name,
                                      size_t count) {
  const std::string folded = FoldedCase(name);
  std::vector<std::pair<size_t, std::string>> ranked;
  for (const std::string& handle : names) {
    ranked.emplace_back(EditDistance(FoldedCase(handle), folded), handle);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> closest;
  for (size_t i = 0; i < ranked.size() && i < count; ++i) closest.push_back(ranked[i].second);
  return closest;
}

std::vector<std::string> NamesBeginningWith(const std::set<std::string>& names,
                                            std::string_view prefix) {
  std::map<std::string, std::string> byFolded;
  for (const std::string& name : names) {
    if (StartsWithNoCase(name, prefix)) byFolded.try_emplace(FoldedCase(name), name);
  }
  std::vector<std::string> beginning;
  for (auto& [folded, name] : byFolded) beginning.push_back(std::move(name));
  return beginning;
}

}  // namespace tessik
