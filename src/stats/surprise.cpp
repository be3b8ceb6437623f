#include "stats/surprise.h"

#include <algorithm>
#include <numeric>
#include <utility>

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

void SurpriseTally::Count(size_t place, std::string_view opponent, const GameRecord& record) {
  // A game of an unknown rating predicts nothing: it counts in neither figure.
  const std::optional<double> expected =
      ExpectedScore(record.userRating, record.opponentRating, rule_);
  if (!expected) return;
  Counts& counts = counts_[place];
  if (counts.games++ == 0) names_[place] = opponent;  // named by its first game counted
  counts.points += record.result == kUserWon ? 1.0 : record.result == kDraw ? 0.5 : 0.0;
  counts.expected += *expected;
}

void SurpriseTally::Add(Server server, std::string_view opponent, const GameRecord& record) {
  // A spelling met before is counted where it was: the name is judged and folded once per
  // spelling, not once per game.
  const auto [spelling, newSpelling] = spellings_.Find(server, opponent);
  if (newSpelling) spellingPlaces_.push_back(PlaceOf(server, opponent));
  const size_t place = spellingPlaces_[spelling];
  if (place != kLeftOut) Count(place, opponent, record);
}

void SurpriseTally::AddLogGames(std::span<const GameRecord> records) {
  logFields_.Number(records, numbers_);
  // The counts of a game a few ahead are asked for early: they lie at random in memory.
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < records.size(); ++i) {
    if (i + kAhead < records.size() && numbers_[i + kAhead] < fieldPlaces_.size() &&
        fieldPlaces_[numbers_[i + kAhead]] != kLeftOut) {
      __builtin_prefetch(&counts_[fieldPlaces_[numbers_[i + kAhead]]]);
    }
    const uint32_t field = numbers_[i];
    if (field == OpponentFields::kNone) continue;  // no result: no game
    if (field == fieldPlaces_.size()) {
      fieldPlaces_.push_back(PlaceOf(Server::Host, logFields_.Name(field)));
    }
    if (fieldPlaces_[field] != kLeftOut) {
      Count(fieldPlaces_[field], logFields_.Name(field), records[i]);
    }
  }
}

std::vector<Surprise> SurpriseTally::Ranking(int minGames) const {
  // By server, then by folded name: handle order within a server.
  std::vector<size_t> order;
  for (size_t place = 0; place < counts_.size(); ++place) {
    if (counts_[place].games > 0 && counts_[place].games >= minGames) order.push_back(place);
  }
  const std::vector<SpellingIndex::Spelling>& opponents = opponents_.spellings();
  std::sort(order.begin(), order.end(), [&opponents](size_t a, size_t b) {
    return std::pair(opponents[a].server, std::string_view(opponents[a].name)) <
           std::pair(opponents[b].server, std::string_view(opponents[b].name));
  });
  std::vector<Surprise> ranking;
  ranking.reserve(order.size());
  for (const size_t place : order) {
    const Counts& counts = counts_[place];
    ranking.push_back(
        {opponents[place].server, names_[place], counts.games, counts.points, counts.expected});
  }
  std::stable_sort(ranking.begin(), ranking.end(), [](const Surprise& a, const Surprise& b) {
    return a.Difference() > b.Difference();
  });
  return ranking;
}

}  // namespace tessik
