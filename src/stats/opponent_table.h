// Every opponent of some games with tessik-stats' figures for each, a row each, for a table of
// them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "stats/game.h"
#include "stats/head_to_head.h"

namespace tessik {

struct OpponentRow {
  Server server = Server::Host;
  std::string opponent;  // as rank names it: the letter case of the first game counted
  int32_t won = 0, drawn = 0, lost = 0;
  // Over the games whose ratings are both known, as rank surprise and score give them; nothing
  // without one.
  std::optional<double> expected;    // points the ratings predicted
  std::optional<double> difference;  // points scored in those games, less the expected
  // As score gives it for the opponent's games of this server (score NAME --server SERVER).
  std::optional<Performance> performance;
  int64_t lastGame = kUnknownStartTime;  // the latest known start, seconds UTC

  int32_t Games() const { return won + drawn + lost; }
  bool operator==(const OpponentRow&) const = default;
};

// The opponents rank most --all counts in games (a server and a name, grouped without regard to
// case; the host's guests and the online servers' anonymous players left out), in its order: by
// name without regard to case, then by server. The expected points are by Tessik's table, as
// tessik-stats gives them without --elo.
std::vector<OpponentRow> OpponentTable(std::span<const Game> games);

}  // namespace tessik
