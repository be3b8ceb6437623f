// Opponents by how far the user's score against them strays from what the ratings predicted.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stats/expectation.h"
#include "stats/game.h"
#include "stats/spelling_index.h"
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
// servers' anonymous players left out, as in the ranking reports.
class SurpriseTally {
 public:
  explicit SurpriseTally(ExpectationRule rule) : rule_(rule) {}

  // Counts one game; the opponent's whole name (a game of the log: its 15 characters).
  void Add(Server server, std::string_view opponent, const GameRecord& record);
  // Counts games of the plug-in's log, as the Add above counts each.
  void AddLogGames(std::span<const GameRecord> records);
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

  // The place of a new spelling's opponent, kLeftOut for a player who is counted nowhere.
  size_t PlaceOf(Server server, std::string_view opponent);
  // Counts a game against the opponent at place (not kLeftOut).
  void Count(size_t place, std::string_view opponent, const GameRecord& record);

  ExpectationRule rule_;
  SpellingIndex spellings_;
  std::vector<size_t> spellingPlaces_;  // each spelling's place, or kLeftOut
  OpponentFields logFields_;            // the log's spellings, numbered
  std::vector<size_t> fieldPlaces_;     // each of them's place, or kLeftOut
  std::vector<uint32_t> numbers_;       // the fields of the log's games being counted
  // The opponents by server and folded name, each's place its number there; by place:
  SpellingIndex opponents_;
  std::vector<Counts> counts_;
  std::vector<std::string> names_;  // the spelling of the first game counted
};

}  // namespace tessik
