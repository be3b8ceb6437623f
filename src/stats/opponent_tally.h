// Won, drawn and lost games against each opponent of the whole record, for the rankings.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "stats/game.h"
#include "stats/spelling_index.h"
#include "store/opponent_totals.h"

namespace tessik {

// The opponents counted, in name order without regard to case and then by server, the order
// that settles a ranking's ties; servers[i] is the server of opponents[i].
struct OpponentTallies {
  std::vector<OpponentTotals> opponents;
  std::vector<Server> servers;
  int anonymousGames = 0;  // left out: against an online server's anonymous players
};

class OpponentTally {
 public:
  // Counts one game. A player of the host's server is counted as the plug-in's totals count
  // them (the first 15 characters without regard to case, guests left out), a player of
  // another server by the whole name without regard to case, its anonymous players left out
  // (and counted): two players of one name on two servers are two.
  void Add(Server server, std::string_view opponent, const GameRecord& record);
  // Counts games of one result against a player of another server than the host's, as as many
  // calls of the Add above would.
  void Add(Server server, std::string_view opponent, int8_t result, int games);
  // Counts games of the plug-in's log, as the Add above counts each.
  void AddLogGames(std::span<const GameRecord> records) { host_.Count(records); }
  // Counts games of the log that all belong to part: two threads may each count a part at once.
  void AddLogPart(size_t part, std::span<const GameRecord> records) {
    host_.CountPart(part, records);
  }
  OpponentTallies Tallies() const;

 private:
  GameCounter host_;
  std::vector<OpponentTotals> others_;  // in the order first met
  std::vector<Server> otherServers_;
  int anonymousGames_ = 0;
  std::unordered_map<std::string, size_t> otherPlaces_;  // server number, NUL, folded name
  SpellingIndex spellings_;
  std::vector<size_t> spellingPlaces_;  // each spelling's place in others_
};

}  // namespace tessik
