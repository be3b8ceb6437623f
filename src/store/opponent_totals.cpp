#include "store/opponent_totals.h"

#include <algorithm>

#include "base/text.h"
#include "store/game_record.h"
#include "store/handle.h"

namespace tessik {

namespace {

bool SortsBefore(const OpponentTotals* a, const OpponentTotals* b) {
  return CompareNoCase(a->name, b->name) < 0;
}

}  // namespace

OpponentTotalsList::OpponentTotalsList() : tail_{std::string(30, '\xFF')} {}

void OpponentTotalsList::AddResult(std::string_view name, int index) {
  if (IsGuestHandle(name) || index < 0 || index > 2) return;
  name = StoredHandle(name);  // one opponent however long the handle
  auto [entry, added] = entries_.try_emplace(FoldedCase(name));
  if (added) {
    entry->second.name = name;
    sortedValid_ = false;
  }
  int32_t OpponentTotals::*counts[] = {&OpponentTotals::won, &OpponentTotals::drawn,
                                       &OpponentTotals::lost};
  ++(entry->second.*counts[index]);
}

const std::vector<const OpponentTotals*>& OpponentTotalsList::Sorted() const {
  if (!sortedValid_) {
    sorted_.clear();
    for (const auto& [key, entry] : entries_) sorted_.push_back(&entry);
    std::sort(sorted_.begin(), sorted_.end(), SortsBefore);
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
  for (const GameRecord& record : log) totals.AddResult(OpponentName(record), record.result + 1);
}

}  // namespace tessik
