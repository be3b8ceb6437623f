#include "store/opponent_totals.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "store/game_record.h"
#include "store/handle.h"

namespace tessik {

namespace {}  // namespace

OpponentTotalsList::OpponentTotalsList() : tail_{std::string(30, '\xFF')} {}

void OpponentTotalsList::AddResult(std::string_view name, int index) {
  if (index < 0 || index > 2) return;
  std::array<int32_t, 3> results{};
  results[static_cast<size_t>(index)] = 1;
  AddResults(name, results);
}

void OpponentTotalsList::AddResults(std::string_view name, const std::array<int32_t, 3>& results) {
  if (IsGuestHandle(name)) return;
  name = StoredHandle(name);  // one opponent however long the handle
  auto [entry, added] = entries_.try_emplace(FoldedCase(name));
  if (added) {
    entry->second.name = name;
    sortedValid_ = false;
  }
  entry->second.won += results[0];
  entry->second.drawn += results[1];
  entry->second.lost += results[2];
}

const std::vector<const OpponentTotals*>& OpponentTotalsList::Sorted() const {
  if (!sortedValid_) {
    sorted_.clear();
    // In the order of the folded handles, the map's keys: the order of CompareNoCase, found
    // by plain byte comparisons.
    std::vector<const std::pair<const std::string, OpponentTotals>*> byKey;
    byKey.reserve(entries_.size());
    for (const auto& entry : entries_) byKey.push_back(&entry);
    std::sort(byKey.begin(), byKey.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    sorted_.reserve(byKey.size());
    for (const auto* entry : byKey) sorted_.push_back(&entry->second);
    sortedValid_ = true;
  }
  return sorted_;
}

void OpponentTotalsList::ResetCursor(bool skipHead) { cursor_ = skipHead ? 1 : 0; }

int OpponentTotalsList::NextEntry(OpponentTotals& out) {
  const auto& sorted = Sorted();
  if (cursor_ > sorted.size()) {
    out = tail_;
    return 0;
  }
  out = cursor_ == 0 ? head_ : *sorted[cursor_ - 1];
  ++cursor_;
  return 1;
}

int OpponentTotalsList::SumAll(int32_t& won, int32_t& drawn, int32_t& lost) const {
  for (const auto& [key, entry] : entries_) {
    won += entry.won;
    drawn += entry.drawn;
    lost += entry.lost;
  }
  return static_cast<int>(entries_.size());
}

std::string OpponentTotalsList::CompleteName(std::string_view prefix) const {
  const auto& sorted = Sorted();
  auto first = std::partition_point(
      sorted.begin(), sorted.end(),
      [prefix](const OpponentTotals* e) { return CompareNoCase(e->name, prefix) < 0; });
  if (first != sorted.end() && StartsWithNoCase((*first)->name, prefix)) return (*first)->name;
  return first == sorted.begin() ? std::string() : (*(first - 1))->name;
}

void CountLogGames(OpponentTotalsList& totals, const std::vector<GameRecord>& log) {
  struct Field {  // a record's opponent field, as two words
    uint64_t words[2];
    bool operator==(const Field& other) const {
      return words[0] == other.words[0] && words[1] == other.words[1];
    }
  };
  struct FieldHash {
    size_t operator()(const Field& f) const {
      return (f.words[0] * 0x9E3779B97F4A7C15u) ^ (f.words[1] * 0xC2B2AE3D27D4EB4Fu);
    }
  };
  std::unordered_map<Field, size_t, FieldHash> index;  // into opponents
  index.reserve(log.size() / 16);
  std::vector<std::pair<const GameRecord*, std::array<int32_t, 3>>> opponents;  // first met first
  for (const GameRecord& record : log) {
    const int result = record.result + 1;
    if (result < 0 || result > 2) continue;  // the marker
    Field field;
    std::memcpy(field.words, record.opponent, sizeof field.words);
    auto [at, added] = index.try_emplace(field, opponents.size());
    if (added) opponents.push_back({&record, {}});
    ++opponents[at->second].second[static_cast<size_t>(result)];
  }
  for (const auto& [record, results] : opponents) totals.AddResults(OpponentName(*record), results);
}

}  // namespace tessik
