// Opponents by how far the user's score against them strays from what the ratings predicted.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "stats/expectation.h"
#include "stats/game.h"
#include "stats/spelling_index.h"
#include "store/count_parts.h"
#include "store/opponent_fields.h"

namespace tessik {

struct Surprise {
  Server server = Server::Host;
  std::string opponent;  // in the letter case of the first game, as the ranking reports show it
  int games = 0;         // those whose ratings are both known
  double points = 0;     // won + half the drawn, in those games
  double expected = 0;   // from the stored ratings
  double Difference() const { return points - expected; }
};

// Counts games as they are read, keeping none of them. An opponent is a server and a name: the
// names of a server are grouped without regard to case, the host's guests and the online
// servers' anonymous players left out, as in the ranking reports. A tally counts either the
// games of a record one by one (Add) or those of the plug-in's log alone (AddLogGames,
// AddLogPart), not both.
class SurpriseTally {
 public:
  explicit SurpriseTally(ExpectationRule rule) : rule_(rule) {}

  // Counts one game; the opponent's whole name (a game of the log: its field's characters).
  void Add(Server server, std::string_view opponent, const GameRecord& record);
  // Counts games of the plug-in's log, as the Add above counts each.
  void AddLogGames(std::span<const GameRecord> records);
  // Counts games of the log that all belong to part (CountPartOf), as AddLogGames does: two
  // threads may each count a part of their own at once.
  void AddLogPart(size_t part, std::span<const GameRecord> records);
  // Every opponent with at least minGames games whose ratings are both known (the others
  // predict nothing), the largest difference first; equal differences by server, then in handle
  // order.
  std::vector<Surprise> Ranking(int minGames) const;

 private:
  static constexpr size_t kLeftOut = SIZE_MAX;

  // What is counted per opponent, kept small: a million games reach it at random.
  struct Counts {
    int games = 0;
    double points = 0;
    double expected = 0;
  };
  // The opponents of one part of the log's games, found by their fields' numbers.
  struct LogPart {
    OpponentFields fields;
    std::vector<size_t> fieldPlaces;                 // each field's opponent, or kLeftOut
    std::vector<uint32_t> numbers;                   // the fields of the games being counted
    std::unordered_map<std::string, size_t> places;  // by the handle folded
    std::vector<std::string_view> keys;              // each opponent's handle folded
    std::vector<Counts> counts;
    std::vector<uint32_t> nameFields;  // the field of each opponent's first game counted
  };

  // The place of a new spelling's opponent, kLeftOut for a player who is counted nowhere.
  size_t PlaceOf(Server server, std::string_view opponent);
  // Adds a game to counts, unless its ratings predict nothing; true when it was counted.
  bool Count(Counts& counts, const GameRecord& record) const;

  ExpectationRule rule_;
  SpellingIndex spellings_;
  std::vector<size_t> spellingPlaces_;  // each spelling's place, or kLeftOut
  // The opponents by server and folded name, each's place its number there; by place:
  SpellingIndex opponents_;
  std::vector<Counts> counts_;
  std::vector<std::string> names_;  // the spelling of the first game counted
  std::array<LogPart, kCountParts> logParts_;
  std::vector<GameRecord> ofPart_;  // the games of one part of a batch that AddLogGames is given
};

}  // namespace tessik
