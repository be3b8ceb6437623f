#include "stats/surprise.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "base/text.h"
#include "store/handle.h"

namespace tessik {

size_t SurpriseTally::PlaceOf(Server server, std::string_view opponent) {
  // The host's guests and anonymous players, and an online server's anonymous players.
  if (server == Server::Host ? IsGuestHandle(opponent) : IsAnonymousPlayer(server, opponent)) {
    return kLeftOut;
  }
  const auto [place, added] = opponents_.Find(server, FoldedCase(opponent));
  if (added) {
    counts_.emplace_back();
    names_.emplace_back();
  }
  return place;
}

bool SurpriseTally::Count(Counts& counts, const GameRecord& record) const {
  // A game of an unknown rating predicts nothing: it counts in neither figure.
  const std::optional<double> expected =
      ExpectedScore(record.userRating, record.opponentRating, rule_);
  if (!expected) return false;
  ++counts.games;
  counts.points += record.result == kUserWon ? 1.0 : record.result == kDraw ? 0.5 : 0.0;
  counts.expected += *expected;
  return true;
}

void SurpriseTally::Add(Server server, std::string_view opponent, const GameRecord& record) {
  // A spelling met before is counted where it was: the name is judged and folded once per
  // spelling, not once per game.
  const auto [spelling, newSpelling] = spellings_.Find(server, opponent);
  if (newSpelling) spellingPlaces_.push_back(PlaceOf(server, opponent));
  const size_t place = spellingPlaces_[spelling];
  if (place == kLeftOut) return;
  const bool first = counts_[place].games == 0;
  if (Count(counts_[place], record) && first) names_[place] = opponent;  // named by its first
}

void SurpriseTally::AddLogGames(std::span<const GameRecord> records) {
  for (size_t part = 0; part < kCountParts; ++part) {
    ofPart_.clear();
    for (const GameRecord& record : records) {
      if (CountPartOf(record.opponent) == part) ofPart_.push_back(record);
    }
    AddLogPart(part, ofPart_);
  }
}

void SurpriseTally::AddLogPart(size_t part, std::span<const GameRecord> records) {
  LogPart& log = logParts_[part];
  log.fields.Number(records, log.numbers);
  // The counts of a game a few ahead are asked for early: they lie at random in memory.
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < records.size(); ++i) {
    if (i + kAhead < records.size() && log.numbers[i + kAhead] < log.fieldPlaces.size() &&
        log.fieldPlaces[log.numbers[i + kAhead]] != kLeftOut) {
      __builtin_prefetch(&log.counts[log.fieldPlaces[log.numbers[i + kAhead]]]);
    }
    const uint32_t field = log.numbers[i];
    if (field == OpponentFields::kNone) continue;  // no result: no game
    if (field == log.fieldPlaces.size()) {
      // A new spelling: judged and folded once, its opponent found among the part's.
      const std::string_view name = log.fields.Name(field);
      size_t place = kLeftOut;
      if (!IsGuestHandle(name)) {
        const auto [found, added] = log.places.try_emplace(FoldedCase(name), log.counts.size());
        if (added) {
          log.keys.push_back(found->first);
          log.counts.emplace_back();
          log.nameFields.push_back(field);
        }
        place = found->second;
      }
      log.fieldPlaces.push_back(place);
    }
    const size_t place = log.fieldPlaces[field];
    if (place == kLeftOut) continue;
    const bool first = log.counts[place].games == 0;
    if (Count(log.counts[place], records[i]) && first) log.nameFields[place] = field;
  }
}

std::vector<Surprise> SurpriseTally::Ranking(int minGames) const {
  struct Row {
    Server server;
    std::string_view key;  // the name folded: handle order within a server
    const Counts* counts;
    std::string_view name;
  };
  std::vector<Row> rows;
  const auto take = [&rows, minGames](Server server, std::string_view key, const Counts& counts,
                                      std::string_view name) {
    if (counts.games > 0 && counts.games >= minGames) rows.push_back({server, key, &counts, name});
  };
  const std::vector<SpellingIndex::Spelling>& opponents = opponents_.spellings();
  for (size_t place = 0; place < counts_.size(); ++place) {
    take(opponents[place].server, opponents[place].name, counts_[place], names_[place]);
  }
  for (const LogPart& log : logParts_) {
    for (size_t place = 0; place < log.counts.size(); ++place) {
      take(Server::Host, log.keys[place], log.counts[place],
           log.fields.Name(log.nameFields[place]));
    }
  }
  // The largest difference first; equal ones by server, then in handle order. Each server and
  // folded name is one row, so the order is whole.
  const auto difference = [](const Row& row) { return row.counts->points - row.counts->expected; };
  std::sort(rows.begin(), rows.end(), [&difference](const Row& a, const Row& b) {
    const double byA = difference(a), byB = difference(b);
    if (byA != byB) return byA > byB;
    return std::tie(a.server, a.key) < std::tie(b.server, b.key);
  });
  std::vector<Surprise> ranking;
  ranking.reserve(rows.size());
  for (const Row& row : rows) {
    ranking.push_back({row.server, std::string(row.name), row.counts->games, row.counts->points,
                       row.counts->expected});
  }
  return ranking;
}

}  // namespace tessik
