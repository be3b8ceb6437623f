// The places of opponents' names as spelt (letter case counts), each with its server.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "stats/game.h"

namespace tessik {

// A record of many games meets the same spellings again and again (a million games against
// 50,000 opponents): each is found again by one hash and one comparison, and copied only once.
class SpellingIndex {
 public:
  struct Spelling {
    uint64_t hash = 0;
    Server server = Server::Host;
    std::string name;
  };

  // The place of server and name, 0 for the first spelling met, 1 for the next, ...; true when
  // the spelling was new.
  std::pair<size_t, bool> Find(Server server, std::string_view name);
  const std::vector<Spelling>& spellings() const { return spellings_; }

 private:
  uint32_t* Free(uint64_t hash);

  std::vector<uint32_t> index_ = std::vector<uint32_t>(64);  // a spelling's place + 1; 0 free
  std::vector<Spelling> spellings_;
};

}  // namespace tessik
