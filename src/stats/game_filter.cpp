#include "stats/game_filter.h"

#include <algorithm>
#include <chrono>

#include "base/text.h"

namespace tessik {

bool Accepts(const GameFilter& filter, const GameRecord& game) {
  if (game.result < kUserWon || game.result > kUserLost) return false;  // no game: a marker
  // A game of unknown date (-1) is in no date range.
  if (filter.since && (game.startTime < 0 || game.startTime < *filter.since)) return false;
  if (filter.until && (game.startTime < 0 || game.startTime >= *filter.until)) return false;
  if ((RatingTypeOf(game) & filter.types) == 0) return false;
  if (filter.white && (game.userWhite != 0) != *filter.white) return false;
  return !filter.rated || (game.rated != 0) == *filter.rated;
}

void FilterLog(std::vector<GameRecord>& log, const GameFilter& filter) {
  if (log.empty()) return;
  log.erase(std::remove_if(log.begin() + 1, log.end(),
                           [&filter](const GameRecord& game) { return !Accepts(filter, game); }),
            log.end());
}

std::optional<int64_t> ParseDate(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  int fields[3] = {0, 0, 0};  // year, month, day
  for (size_t i = 0; i < text.size(); ++i) {
    const bool separator = i == 4 || i == 7;
    if (separator ? text[i] != '-' : text[i] < '0' || text[i] > '9') return std::nullopt;
    int& field = fields[i < 4 ? 0 : i < 7 ? 1 : 2];
    if (!separator) field = field * 10 + (text[i] - '0');
  }
  using namespace std::chrono;
  const year_month_day date{year{fields[0]}, month{static_cast<unsigned>(fields[1])},
                            day{static_cast<unsigned>(fields[2])}};
  if (!date.ok()) return std::nullopt;
  return duration_cast<seconds>(sys_days{date}.time_since_epoch()).count();
}

std::string_view RatingTypeName(RatingType type) {
  std::string_view name = RatingTypeSuffix(type);  // " in blitz", " standard"
  name.remove_prefix(std::min(name.size(), name.starts_with(" in ") ? size_t{4} : size_t{1}));
  return name;
}

RatingType RatingTypeNamed(std::string_view name) {
  for (RatingType type : EveryRatingType()) {
    if (EqualsNoCase(RatingTypeName(type), name)) return type;
  }
  return kNoRatingType;
}

std::vector<RatingType> EveryRatingType() {
  std::vector<RatingType> types;
  for (RatingType type = kRatingWild; type <= kRating15Minute; type <<= 1) types.push_back(type);
  return types;
}

}  // namespace tessik
