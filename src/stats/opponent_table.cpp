#include "stats/opponent_table.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "base/text.h"
#include "stats/opponent_tally.h"
#include "stats/spelling_index.h"

namespace tessik {

namespace {

// An opponent as the tally groups it: the server, then the folded name.
std::string KeyOf(Server server, std::string_view name) {
  return std::string(1, static_cast<char>(server)).append(1, '\0').append(FoldedCase(name));
}

// What the table sums over an opponent's games.
struct Sums {
  int32_t won = 0, drawn = 0, lost = 0;  // of a spelling: for the tally
  Expectation expectation;
  PerformanceSums performance;
  int64_t lastGame = kUnknownStartTime;

  void Add(const Game& game) {
    (game.record.result == kUserWon ? won : game.record.result == kDraw ? drawn : lost)++;
    expectation.Add(game, ExpectationRule::Table);
    performance.Add(PlayedGameOf(game));
    Played(game.Start());
  }
  void Add(const Sums& other) {
    expectation.games += other.expectation.games;
    expectation.expected += other.expectation.expected;
    expectation.scored += other.expectation.scored;
    performance.ratings += other.performance.ratings;
    performance.points2 += other.performance.points2;
    performance.rated += other.performance.rated;
    Played(other.lastGame);
  }
  void Played(int64_t start) {
    if (start != kUnknownStartTime && (lastGame == kUnknownStartTime || start > lastGame)) {
      lastGame = start;
    }
  }
};

// The sums of each spelling of a name on its server.
class SpellingSums {
 public:
  Sums& Of(Server server, std::string_view name) {
    const auto [place, added] = index_.Find(server, name);
    if (added) sums_.emplace_back();
    return sums_[place];
  }
  const SpellingIndex& index() const { return index_; }
  const Sums& sums(size_t place) const { return sums_[place]; }

 private:
  SpellingIndex index_;
  std::vector<Sums> sums_;
};

}  // namespace

std::vector<OpponentRow> OpponentTable(std::span<const Game> games) {
  // The games read once, each added to its spelling's sums: a record may hold a million.
  OpponentTally tally;
  SpellingSums spelt;
  for (const Game& game : games) {
    const bool host = game.server == Server::Host;
    // The plug-in counts the host's players game by game (its guests left out, its names cut to
    // 15 characters); the others are counted spelling by spelling below.
    if (host) tally.Add(game.server, game.Opponent(), game.record);
    // As the record against an opponent counts them: a record of no result is no game.
    if (!HasResult(game.record)) continue;
    // The tally knows a player of the host's server by the log's 15 characters.
    spelt.Of(game.server, host ? OpponentName(game.record) : game.Opponent()).Add(game);
  }
  // In the order first met, as game after game: an opponent is named by the first game's spelling.
  const std::vector<SpellingIndex::Spelling>& spellings = spelt.index().spellings();
  for (size_t i = 0; i < spellings.size(); ++i) {
    if (spellings[i].server == Server::Host) continue;
    const Sums& s = spelt.sums(i);
    for (const auto& [result, count] :
         {std::pair{kUserWon, s.won}, {kDraw, s.drawn}, {kUserLost, s.lost}}) {
      if (count > 0) tally.Add(spellings[i].server, spellings[i].name, result, count);
    }
  }
  // The tally says who counts and how the rankings name them; the other figures join its rows.
  const OpponentTallies tallies = tally.Tallies();
  std::vector<OpponentRow> rows(tallies.opponents.size());
  std::unordered_map<std::string, size_t> places;
  places.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const OpponentTotals& totals = tallies.opponents[i];
    rows[i].server = tallies.servers[i];
    rows[i].opponent = totals.name;
    rows[i].won = totals.won;
    rows[i].drawn = totals.drawn;
    rows[i].lost = totals.lost;
    places.emplace(KeyOf(rows[i].server, totals.name), i);
  }
  // Each row sums its spellings' sums: the table's expected scores, 32nds of a point, and the
  // half points add up exactly in any order, so the figures are those of game after game.
  std::vector<Sums> sums(rows.size());
  for (size_t i = 0; i < spellings.size(); ++i) {
    const auto place = places.find(KeyOf(spellings[i].server, spellings[i].name));
    if (place != places.end()) sums[place->second].Add(spelt.sums(i));  // else a guest, say
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Expectation& expectation = sums[i].expectation;
    if (expectation.games > 0) {
      rows[i].expected = expectation.expected;
      rows[i].difference = expectation.scored - expectation.expected;
    }
    rows[i].performance = sums[i].performance.Result();
    rows[i].lastGame = sums[i].lastGame;
  }
  return rows;
}

}  // namespace tessik
