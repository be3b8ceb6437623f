#include "stats/opponent_table.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "base/text.h"
#include "stats/opponent_tally.h"

namespace tessik {

namespace {

// An opponent as the tally groups it: the server, then the folded name.
std::string KeyOf(Server server, std::string_view name) {
  return std::string(1, static_cast<char>(server)).append(1, '\0').append(FoldedCase(name));
}

// What the table sums over an opponent's games.
struct Sums {
  Expectation expectation;
  PerformanceSums performance;
  int64_t lastGame = kUnknownStartTime;

  void Add(const Game& game) {
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

// The sums of each spelling of a name on its server: a record of many games meets a spelling
// again and again, and finds its sums in a small index and one place beside the name.
class SpellingSums {
 public:
  struct Spelling {
    uint64_t hash = 0;
    Server server = Server::Host;
    std::string name;
    Sums sums;
  };

  Sums& Of(Server server, std::string_view name) {
    const uint64_t hash =
        std::hash<std::string_view>()(name) ^ static_cast<uint64_t>(server) * 0x9E3779B97F4A7C15u;
    if (2 * (spellings_.size() + 1) > index_.size()) {
      index_.assign(2 * index_.size(), 0);
      for (uint32_t i = 0; i < spellings_.size(); ++i) *Free(spellings_[i].hash) = i + 1;
    }
    const size_t mask = index_.size() - 1;
    for (size_t i = hash & mask; index_[i] != 0; i = (i + 1) & mask) {
      Spelling& spelling = spellings_[index_[i] - 1];
      if (spelling.hash == hash && spelling.server == server && spelling.name == name) {
        return spelling.sums;
      }
    }
    *Free(hash) = static_cast<uint32_t>(spellings_.size() + 1);
    spellings_.push_back({hash, server, std::string(name), {}});
    return spellings_.back().sums;
  }
  const std::vector<Spelling>& spellings() const { return spellings_; }

 private:
  uint32_t* Free(uint64_t hash) {
    const size_t mask = index_.size() - 1;
    size_t i = hash & mask;
    while (index_[i] != 0) i = (i + 1) & mask;
    return &index_[i];
  }

  std::vector<uint32_t> index_ = std::vector<uint32_t>(64);  // a spelling's place + 1; 0 free
  std::vector<Spelling> spellings_;
};

}  // namespace

std::vector<OpponentRow> OpponentTable(std::span<const Game> games) {
  // The tally says who counts and how the rankings name them; the other figures join its rows.
  OpponentTally tally;
  for (const Game& game : games) tally.Add(game.server, game.Opponent(), game.record);
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
  // The games read once, each added to its spelling's sums: a record may hold a million.
  SpellingSums spelt;
  for (const Game& game : games) {
    // As the record against an opponent counts them: a record of no result is no game.
    if (game.record.result < kUserWon || game.record.result > kUserLost) continue;
    // The tally knows a player of the host's server by the log's 15 characters.
    spelt.Of(game.server, game.server == Server::Host ? OpponentName(game.record) : game.Opponent())
        .Add(game);
  }
  // Each row sums its spellings' sums: the table's expected scores, 32nds of a point, and the
  // half points add up exactly in any order, so the figures are those of game after game.
  std::vector<Sums> sums(rows.size());
  for (const SpellingSums::Spelling& spelling : spelt.spellings()) {
    const auto place = places.find(KeyOf(spelling.server, spelling.name));
    if (place != places.end()) sums[place->second].Add(spelling.sums);  // else a guest, say
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
