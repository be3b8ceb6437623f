#include "store/opponent_totals.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/text.h"
#include "store/game_record.h"
#include "store/handle.h"
#include "store/slot_table.h"

namespace tessik {

OpponentTotalsList::OpponentTotalsList() : index_(kFirstSlots), tail_{std::string(30, '\xFF')} {}

HandleKey HandleKeyOf(std::string_view handle) {
  uint64_t words[2] = {};
  std::memcpy(words, handle.data(), handle.size());  // at most 15 bytes, the rest NUL
  // Folded where the bytes lie in memory, then read as big-endian numbers (the first character
  // the most significant byte: this machine's order is little-endian).
  static_assert(std::endian::native == std::endian::little);
  return {__builtin_bswap64(FoldedCaseWord(words[0])), __builtin_bswap64(FoldedCaseWord(words[1]))};
}

OpponentTotals OpponentTotalsList::TotalsOf(const Entry& entry) {
  return {std::string(entry.name, strnlen(entry.name, kOpponentBytes)), entry.results[0],
          entry.results[1], entry.results[2]};
}

uint32_t& OpponentTotalsList::SlotOf(const HandleKey& key) const {
  return SlotFor(index_, key.high, key.low,
                 [this, &key](uint32_t entry) { return entries_[entry].key == key; });
}

void OpponentTotalsList::Reindex(size_t slotCount) const {
  index_.assign(slotCount, 0);
  for (uint32_t i = 0; i < entries_.size(); ++i) SlotOf(entries_[i].key) = i + 1;
}

void OpponentTotalsList::AddResult(std::string_view name, int index) {
  if (index < 0 || index > 2) return;
  std::array<int32_t, 3> results{};
  results[static_cast<size_t>(index)] = 1;
  AddResults(name, results);
}

void OpponentTotalsList::AddResults(std::string_view name, const std::array<int32_t, 3>& results) {
  name = StoredHandle(name);  // one opponent however long the handle
  const HandleKey key = HandleKeyOf(name);
  uint32_t* slot = &SlotOf(key);
  if (*slot == 0) {
    if (IsGuestHandle(name)) return;
    if (2 * (entries_.size() + 1) > index_.size()) {
      Reindex(2 * index_.size());
      slot = &SlotOf(key);
    }
    Entry& entry = entries_.emplace_back(Entry{key, {}, {}});
    std::memcpy(entry.name, name.data(), name.size());
    *slot = static_cast<uint32_t>(entries_.size());
    sorted_ = false;
  }
  Entry& entry = entries_[*slot - 1];
  for (size_t i = 0; i < 3; ++i) entry.results[i] += results[i];
}

void OpponentTotalsList::Reserve(size_t opponents) {
  entries_.reserve(entries_.size() + opponents);
  if (SlotsFor(entries_.size() + opponents) > index_.size()) {
    Reindex(SlotsFor(entries_.size() + opponents));
  }
}

void OpponentTotalsList::Sort() const {
  if (sorted_) return;
  std::sort(entries_.begin(), entries_.end(),
            [](const Entry& a, const Entry& b) { return a.key < b.key; });
  Reindex(index_.size());
  sorted_ = true;
}

void OpponentTotalsList::ResetCursor(bool skipHead) { cursor_ = skipHead ? 1 : 0; }

int OpponentTotalsList::NextEntry(OpponentTotals& out) {
  Sort();
  if (cursor_ > entries_.size()) {
    out = tail_;
    return 0;
  }
  out = cursor_ == 0 ? head_ : TotalsOf(entries_[cursor_ - 1]);
  ++cursor_;
  return 1;
}

int OpponentTotalsList::SumAll(int32_t& won, int32_t& drawn, int32_t& lost) const {
  for (const Entry& entry : entries_) {
    won += entry.results[0];
    drawn += entry.results[1];
    lost += entry.results[2];
  }
  return static_cast<int>(entries_.size());
}

std::string OpponentTotalsList::CompleteName(std::string_view prefix) const {
  Sort();
  auto first = std::partition_point(entries_.begin(), entries_.end(), [prefix](const Entry& e) {
    return CompareNoCase(TotalsOf(e).name, prefix) < 0;
  });
  if (first != entries_.end() && StartsWithNoCase(TotalsOf(*first).name, prefix)) {
    return TotalsOf(*first).name;
  }
  return first == entries_.begin() ? std::string() : TotalsOf(*(first - 1)).name;
}

void GameCounter::Count(std::span<const GameRecord> games) {
  constexpr size_t kBatch = 4096;  // a log read whole is parted a batch at a time
  for (size_t first = 0; first < games.size(); first += kBatch) {
    const std::span<const GameRecord> batch =
        games.subspan(first, std::min(kBatch, games.size() - first));
    for (size_t part = 0; part < kCountParts; ++part) {
      ofPart_.clear();
      for (const GameRecord& game : batch) {
        if (CountPartOf(game.opponent) == part) ofPart_.push_back(game);
      }
      CountPart(part, ofPart_);
    }
  }
}

void GameCounter::AddTo(OpponentTotalsList& totals) const {
  for (const FieldResults& part : parts_) {
    totals.Reserve(part.size());
    part.ForEach([&totals](std::string_view name, const std::array<int32_t, 3>& results) {
      totals.AddResults(name, results);
    });
  }
}

std::vector<OpponentTotals> GameCounter::Totals() const {
  // The fields are read in their tables' order and sorted by handle, each opponent's spellings
  // by the order first met (the parts never share an opponent): a straight pass and one sort,
  // where the totals' table reaches each field at random.
  struct Field {
    HandleKey key;
    uint32_t order;
    std::string_view name;
    const std::array<int32_t, 3>* results;
  };
  std::vector<Field> fields;
  fields.reserve(parts_[0].size() + parts_[1].size());
  for (const FieldResults& part : parts_) {
    part.ForEachInPlace(
        [&fields](std::string_view name, const std::array<int32_t, 3>& results, uint32_t order) {
          name = StoredHandle(name);  // one opponent however long the handle
          if (!IsGuestHandle(name)) fields.push_back({HandleKeyOf(name), order, name, &results});
        });
  }
  std::sort(fields.begin(), fields.end(), [](const Field& a, const Field& b) {
    return a.key != b.key ? a.key < b.key : a.order < b.order;
  });
  std::vector<OpponentTotals> totals;
  totals.reserve(fields.size());
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i == 0 || fields[i].key != fields[i - 1].key) {
      totals.push_back({std::string(fields[i].name), 0, 0, 0});
    }
    OpponentTotals& opponent = totals.back();
    opponent.won += (*fields[i].results)[0];
    opponent.drawn += (*fields[i].results)[1];
    opponent.lost += (*fields[i].results)[2];
  }
  return totals;
}

void CountLogGames(OpponentTotalsList& totals, const std::vector<GameRecord>& log) {
  GameCounter counter;
  counter.Count(log);
  counter.AddTo(totals);
}

}  // namespace tessik
