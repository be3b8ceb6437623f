#include "stats/opponent_tally.h"

#include <algorithm>
#include <numeric>

#include "base/text.h"

namespace tessik {

void OpponentTally::Add(Server server, std::string_view opponent, const GameRecord& record) {
  if (server == Server::Host) return host_.Count({&record, 1});
  if (!HasResult(record)) return;
  Add(server, opponent, record.result, 1);
}

void OpponentTally::Add(Server server, std::string_view opponent, int8_t result, int games) {
  if (IsAnonymousPlayer(server, opponent)) {
    anonymousGames_ += games;
    return;
  }
  // A spelling met before is counted where it was: the name is folded once per spelling.
  const auto [spelling, newSpelling] = spellings_.Find(server, opponent);
  if (newSpelling) {
    std::string key(1, static_cast<char>(server));
    key.append(1, '\0').append(FoldedCase(opponent));
    const auto [place, added] = otherPlaces_.try_emplace(std::move(key), others_.size());
    if (added) {
      others_.push_back({std::string(opponent)});
      otherServers_.push_back(server);
    }
    spellingPlaces_.push_back(place->second);
  }
  OpponentTotals& totals = others_[spellingPlaces_[spelling]];
  (result == kUserWon ? totals.won : result == kDraw ? totals.drawn : totals.lost) += games;
}

OpponentTallies OpponentTally::Tallies() const {
  std::vector<OpponentTotals> opponents = host_.Totals();
  std::vector<Server> servers(opponents.size(), Server::Host);
  if (others_.empty()) {
    // The host's players come in order already: a log of a million games is ranked without
    // another copy of its tens of thousands of opponents.
    return {std::move(opponents), std::move(servers), anonymousGames_};
  }
  opponents.insert(opponents.end(), others_.begin(), others_.end());
  servers.insert(servers.end(), otherServers_.begin(), otherServers_.end());
  // The host's players come in order; the others join them.
  std::vector<size_t> order(opponents.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int byName = CompareNoCase(opponents[a].name, opponents[b].name);
    return byName != 0 ? byName < 0 : servers[a] < servers[b];
  });
  OpponentTallies tallies;
  tallies.anonymousGames = anonymousGames_;
  tallies.opponents.reserve(order.size());
  tallies.servers.reserve(order.size());
  for (size_t i : order) {
    tallies.opponents.push_back(std::move(opponents[i]));
    tallies.servers.push_back(servers[i]);
  }
  return tallies;
}

}  // namespace tessik
