#include "stats/openings.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

namespace tessik {

std::string OpeningOf(const Game& game, OpeningKey key) {
  if (!game.details) return kNoOpening;
  std::string_view text =
      key == OpeningKey::Eco ? game.details->labels->eco : game.details->labels->opening;
  if (key == OpeningKey::Family) text = text.substr(0, text.find(':'));
  return text.empty() ? kNoOpening : std::string(text);
}

std::optional<int> OpeningRow::ExpectedPercentage() const {
  if (expectation.games == 0) return std::nullopt;
  return static_cast<int>(100.0 * expectation.expected / expectation.games + 0.5);
}

std::vector<OpeningRow> OpeningRows(std::span<const Game> games, OpeningKey key,
                                    ExpectationRule rule, int minGames) {
  std::map<std::pair<bool, std::string>, OpeningRow> byKey;
  for (const Game& game : games) {
    const bool white = game.record.userWhite != 0;
    std::string opening = OpeningOf(game, key);
    OpeningRow& row = byKey[{white, opening}];
    row.white = white;
    row.opening = std::move(opening);
    const int8_t result = game.record.result;
    (result == kUserWon ? row.won : result == kDraw ? row.drawn : row.lost)++;
    row.expectation.Add(game, rule);
  }
  std::vector<OpeningRow> rows;
  for (auto& [where, row] : byKey) {
    if (row.Games() >= minGames) rows.push_back(std::move(row));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const OpeningRow& a, const OpeningRow& b) {
    if (a.white != b.white) return a.white;
    return a.Games() > b.Games();  // equal: the map's key order stands
  });
  return rows;
}

}  // namespace tessik
