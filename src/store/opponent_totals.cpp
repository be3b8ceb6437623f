#include "store/opponent_totals.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/text.h"
#include "store/game_record.h"
#include "store/handle.h"

namespace tessik {

namespace {

// Where the search for a key of two words begins in a table of slots (a power of two).
// Multiplicative hashing: the product's high bits depend on every bit of both words, and a
// handle's differing characters may lie anywhere in them.
size_t FirstSlot(uint64_t first, uint64_t second, size_t slots) {
  const uint64_t hash = (first ^ (second * 0xC2B2AE3D27D4EB4Fu)) * 0x9E3779B97F4A7C15u;
  return static_cast<size_t>(hash >> (64 - std::countr_zero(slots)));
}

// The slot of a key of two words in index (a power of two of slots; 0 a free one, else an
// item's place + 1): the slot of the item holdsKey(place) says holds it, else the free slot where
// it goes. Linear probing.
template <class HoldsKey>
uint32_t& SlotFor(std::vector<uint32_t>& index, uint64_t first, uint64_t second,
                  HoldsKey holdsKey) {
  const size_t mask = index.size() - 1;
  for (size_t i = FirstSlot(first, second, index.size());; i = (i + 1) & mask) {
    uint32_t& slot = index[i];
    if (slot == 0 || holdsKey(slot - 1)) return slot;
  }
}

// The tables start small (a short log, a new session) and double as they fill.
constexpr size_t kFirstSlots = 16;

// The smallest table of slots that holds count keys at most half full.
size_t SlotsFor(size_t count) { return std::max(kFirstSlots, std::bit_ceil(2 * count)); }

}  // namespace

OpponentTotalsList::OpponentTotalsList() : index_(kFirstSlots), tail_{std::string(30, '\xFF')} {}

OpponentTotalsList::Key OpponentTotalsList::KeyOf(std::string_view handle) {
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

uint32_t& OpponentTotalsList::SlotOf(const Key& key) const {
  return SlotFor(index_, key.high, key.low,
                 [this, &key](uint32_t entry) { return entries_[entry].key == key; });
}

void OpponentTotalsList::Reindex(size_t slots) const {
  index_.assign(slots, 0);
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
  const Key key = KeyOf(name);
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

// Room for as many opponent fields as games, up to a quarter of a million, in address space
// only: the system gives pages as fields fill them, and below that many the fields are never
// copied as the table grows.
GameCounter::GameCounter(size_t games) : index_(kFirstSlots) {
  fields_.reserve(std::min(games, size_t{1} << 18));
}

uint32_t& GameCounter::SlotOf(const uint64_t (&words)[2]) {
  return SlotFor(index_, words[0], words[1], [this, &words](uint32_t field) {
    return fields_[field].words[0] == words[0] && fields_[field].words[1] == words[1];
  });
}

void GameCounter::Count(std::span<const GameRecord> games) {
  for (const GameRecord& game : games) {
    const unsigned result = static_cast<unsigned>(game.result + 1);
    if (result > 2) continue;  // the marker
    uint64_t words[2];
    std::memcpy(words, game.opponent, sizeof words);
    uint32_t* slot = &SlotOf(words);
    if (*slot == 0) {
      if (2 * (fields_.size() + 1) > index_.size()) {
        index_.assign(2 * index_.size(), 0);
        for (uint32_t i = 0; i < fields_.size(); ++i) SlotOf(fields_[i].words) = i + 1;
        slot = &SlotOf(words);
      }
      fields_.push_back({{words[0], words[1]}, {}});
      *slot = static_cast<uint32_t>(fields_.size());
    }
    ++fields_[*slot - 1].results[result];
  }
}

void GameCounter::AddTo(OpponentTotalsList& totals) const {
  totals.Reserve(fields_.size());
  for (const Field& field : fields_) {
    const char* bytes = reinterpret_cast<const char*>(field.words);
    totals.AddResults(std::string_view(bytes, strnlen(bytes, kOpponentBytes)), field.results);
  }
}

void CountLogGames(OpponentTotalsList& totals, const std::vector<GameRecord>& log) {
  GameCounter counter(log.size());
  counter.Count(log);
  counter.AddTo(totals);
}

}  // namespace tessik
