#include "stats/spelling_index.h"

#include <functional>

namespace tessik {

std::pair<size_t, bool> SpellingIndex::Find(Server server, std::string_view name) {
  const uint64_t hash =
      std::hash<std::string_view>()(name) ^ static_cast<uint64_t>(server) * 0x9E3779B97F4A7C15u;
  if (2 * (spellings_.size() + 1) > index_.size()) {
    index_.assign(2 * index_.size(), 0);
    for (uint32_t i = 0; i < spellings_.size(); ++i) *Free(spellings_[i].hash) = i + 1;
  }
  const size_t mask = index_.size() - 1;
  for (size_t i = hash & mask; index_[i] != 0; i = (i + 1) & mask) {
    const Spelling& spelling = spellings_[index_[i] - 1];
    if (spelling.hash == hash && spelling.server == server && spelling.name == name) {
      return {index_[i] - 1, false};
    }
  }
  *Free(hash) = static_cast<uint32_t>(spellings_.size() + 1);
  spellings_.push_back({hash, server, std::string(name)});
  return {spellings_.size() - 1, true};
}

uint32_t* SpellingIndex::Free(uint64_t hash) {
  const size_t mask = index_.size() - 1;
  size_t i = hash & mask;
  while (index_[i] != 0) i = (i + 1) & mask;
  return &index_[i];
}

}  // namespace tessik
