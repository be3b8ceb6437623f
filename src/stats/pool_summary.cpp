#include "stats/pool_summary.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>

#include "stats/utc_time.h"

namespace tessik {

namespace {

using PoolGames = std::vector<const Game*>;

// The month "2025-01" of a start of known date.
std::string MonthOf(int64_t start) {
  const UtcTime t = UtcTimeOf(start);
  char month[16];
  std::snprintf(month, sizeof month, "%04d-%02u", t.year, t.month);
  return month;
}

// The games of result against a known opponent rating: the count of them whose opponent rated
// highest (highest) or lowest; an earlier game before a later one of the same rating.
std::vector<NotableGame> NotableGames(const PoolGames& games, int8_t result, bool highest) {
  const auto before = [highest](const Game* a, const Game* b) {
    return highest ? a->record.opponentRating > b->record.opponentRating
                   : a->record.opponentRating < b->record.opponentRating;
  };
  // The few kept in order as the games go by: a pool may hold a million games.
  PoolGames picked;
  for (const Game* game : games) {
    if (game->record.result != result || game->record.opponentRating == 0) continue;
    const auto place = std::upper_bound(picked.begin(), picked.end(), game, before);
    if (place == picked.end() && picked.size() == kNotableGames) continue;
    picked.insert(place, game);
    if (picked.size() > kNotableGames) picked.pop_back();
  }
  std::vector<NotableGame> notable;
  for (const Game* game : picked) {
    notable.push_back({game->Start(), game->record.opponentRating, std::string(game->Opponent()),
                       std::string(game->details ? game->details->link : "")});
  }
  return notable;
}

// The peak, the lowest and the months, from the ratings after the rated games.
void AddRatings(const PoolGames& games, PoolSummary& summary) {
  for (const Game* game : games) {
    const std::optional<int> after = RatingAfter(*game);
    // An unrated game's rating is only the one it was played at: it reached nothing.
    if (game->record.rated == 0 || !after) continue;
    const int64_t start = game->Start();
    if (!summary.peak || *after > summary.peak->rating) summary.peak = DatedRating{*after, start};
    if (!summary.lowest || *after < summary.lowest->rating) {
      summary.lowest = DatedRating{*after, start};
    }
    if (start == kUnknownStartTime) continue;
    const std::string month = MonthOf(start);
    if (summary.months.empty() || summary.months.back().month != month) {
      summary.months.push_back({month, game->record.userRating, *after});
    } else {
      summary.months.back().after = *after;
    }
  }
}

// The clock played most; of two played as often, the one played last.
std::optional<ClockCount> UsualClock(const PoolGames& games) {
  struct Use {
    ClockCount count;
    size_t last = 0;
  };
  std::map<std::string, Use> uses;
  Use* use = nullptr;  // of the clock of the game before, found again without its text
  GameClock before;
  for (size_t i = 0; i < games.size(); ++i) {
    const GameClock clock = ClockOf(*games[i]);
    if (use == nullptr || clock.known != before.known || clock.baseSeconds != before.baseSeconds ||
        clock.incrementSeconds != before.incrementSeconds ||
        clock.daysPerMove != before.daysPerMove) {
      const std::string text = ClockText(clock);
      use = text.empty() ? nullptr : &uses[text];  // none: no clock
      before = clock;
    }
    if (use == nullptr) continue;
    use->count.clock = clock;
    ++use->count.games;
    use->last = i;
  }
  const Use* usual = nullptr;
  for (const auto& [text, use] : uses) {
    if (usual == nullptr || use.count.games > usual->count.games ||
        (use.count.games == usual->count.games && use.last > usual->last)) {
      usual = &use;
    }
  }
  return usual ? std::optional(usual->count) : std::nullopt;
}

PoolSummary SummaryOf(const std::string& pool, const PoolGames& games) {
  PoolSummary summary;
  summary.pool = pool;
  std::vector<PlayedGame> played;
  std::map<int, std::vector<PlayedGame>> byYear;
  ScoreCounts byEnding[std::size(kEndings)];
  for (const Game* game : games) {
    summary.counts.Count(game->record);
    played.push_back(PlayedGameOf(*game));
    if (game->Start() != kUnknownStartTime) {
      byYear[UtcTimeOf(game->Start()).year].push_back(played.back());
    }
    byEnding[static_cast<size_t>(EndingOf(*game))].Count(game->record);
  }
  AddRatings(games, summary);
  summary.streaks = StreaksOf(played);
  summary.bestWins = NotableGames(games, kUserWon, true);
  summary.worstLosses = NotableGames(games, kUserLost, false);
  for (const auto& [year, yearGames] : byYear) {
    summary.years.push_back({year, PerformanceOf(yearGames)});
  }
  summary.usualClock = UsualClock(games);
  for (Ending ending : kEndings) {
    const ScoreCounts& counts = byEnding[static_cast<size_t>(ending)];
    if (counts.Games() > 0) summary.endings.push_back({ending, counts});
  }
  return summary;
}

}  // namespace

std::vector<PoolSummary> PoolSummaries(std::span<const Game> games) {
  std::map<std::string, PoolGames> pools;
  PoolNamer namer;
  PoolGames* pool = nullptr;
  for (const Game& game : games) {
    if (namer.Name(game) || pool == nullptr) pool = &pools[namer.pool()];
    pool->push_back(&game);
  }
  std::vector<PoolSummary> summaries;
  for (const auto& [pool, poolGames] : pools) summaries.push_back(SummaryOf(pool, poolGames));
  return summaries;
}

}  // namespace tessik
