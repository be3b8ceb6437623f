#include "reports/ranking_reports.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "reports/score_report.h"
#include "store/handle.h"

namespace tessik {

namespace {

int32_t Games(const OpponentTotals& e) { return e.won + e.drawn + e.lost; }

// Where an opponent stands in a ranking: the higher, the further up (Worst turns its score
// round, the lowest first).
float RankingScore(const OpponentTotals& e, Ranking ranking) {
  switch (ranking) {
    case Ranking::MostGames:
      return static_cast<float>(Games(e));
    case Ranking::Best:  // by (2W + D) / (N + 2)
      return static_cast<float>(2 * e.won + e.drawn) / static_cast<float>(Games(e) + 2);
    case Ranking::Worst:  // by (2W + D + 4) / (N + 2), the lowest first
      break;
  }
  return -static_cast<float>(2 * e.won + e.drawn + 4) / static_cast<float>(Games(e) + 2);
}

std::vector<OpponentTotals> EveryOpponent(OpponentTotalsList& totals) {
  std::vector<OpponentTotals> opponents;
  opponents.reserve(totals.size());
  totals.ResetCursor(true);
  for (OpponentTotals entry; totals.NextEntry(entry) == 1;) opponents.push_back(std::move(entry));
  return opponents;
}

std::string ScoreLine(const OpponentTotals& row) {
  char line[128];
  std::snprintf(line, sizeof line, "%-15s \t +%2d  =%2d  -%2d  %3u%%",
                PrintableName(row.name).c_str(), row.won, row.drawn, row.lost,
                ScorePercentage(row.won, row.drawn, row.lost));
  return line;
}

std::string MostGamesLine(const OpponentTotals& row) {
  char line[128];
  std::snprintf(line, sizeof line, "%-15s \t(%d)  +%-2d  =%-2d  -%-2d",
                PrintableName(row.name).c_str(), Games(row), row.won, row.drawn, row.lost);
  return line;
}

}  // namespace

// As the window's reports rank: an opponent goes below every row it does not rank above, so
// among equals the one listed first stays higher; a row of no opponent scores as one of no games
// does for Most games and Best, and below every opponent for Worst.
std::vector<size_t> RankPlaces(std::span<const OpponentTotals> opponents, Ranking ranking,
                               size_t limit) {
  const float emptyScore = ranking == Ranking::Worst ? -2.0f : 0.0f;
  std::vector<std::pair<float, size_t>> ranked;
  ranked.reserve(opponents.size());
  for (size_t i = 0; i < opponents.size(); ++i) {
    const float score = RankingScore(opponents[i], ranking);
    if (score > emptyScore) ranked.emplace_back(score, i);
  }
  // Among equal scores the one listed first goes higher: the place settles ties, so a partial
  // sort of the rows shown ranks them as a stable sort of all of them does, without sorting
  // tens of thousands of opponents for ten rows.
  const auto higher = [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  };
  if (limit < ranked.size()) {
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<ptrdiff_t>(limit), ranked.end(),
                      higher);
  } else {
    std::sort(ranked.begin(), ranked.end(), higher);
  }
  std::vector<size_t> places;
  for (size_t i = 0; i < ranked.size() && i < limit; ++i) places.push_back(ranked[i].second);
  return places;
}

RankedRows RankOpponents(OpponentTotalsList& totals, Ranking ranking) {
  const std::vector<OpponentTotals> opponents = EveryOpponent(totals);
  RankedRows rows;
  const std::vector<size_t> places = RankPlaces(opponents, ranking, rows.size());
  for (size_t row = 0; row < places.size(); ++row) rows[row] = opponents[places[row]];
  return rows;
}

namespace {

// A report's lines for its ten rows: the heading, then a line each.
ReportLines RankingLines(Ranking ranking, const RankedRows& rows) {
  ReportLines lines{ranking == Ranking::MostGames ? "Most games against:"
                    : ranking == Ranking::Best    ? "Best:"
                                                  : "Worst:"};
  for (const OpponentTotals& row : rows) {
    lines.push_back(ranking == Ranking::MostGames ? MostGamesLine(row) : ScoreLine(row));
  }
  return lines;
}

}  // namespace

ReportLines MostGamesReport(OpponentTotalsList& totals) {
  return RankingLines(Ranking::MostGames, RankOpponents(totals, Ranking::MostGames));
}

ReportLines BestReport(OpponentTotalsList& totals) {
  return RankingLines(Ranking::Best, RankOpponents(totals, Ranking::Best));
}

ReportLines WorstReport(OpponentTotalsList& totals) {
  return RankingLines(Ranking::Worst, RankOpponents(totals, Ranking::Worst));
}

ReportLines OverallReport(const OpponentTotalsList& totals) {
  int32_t won = 0, drawn = 0, lost = 0;
  int opponents = totals.SumAll(won, drawn, lost);
  auto games = static_cast<unsigned>(won + drawn + lost);
  ReportLines lines{"Overall score:",
                    std::to_string(games) + " games",
                    std::to_string(static_cast<unsigned>(opponents)) + " Opponents",
                    std::to_string(static_cast<unsigned>(won)) + " games won",
                    std::to_string(static_cast<unsigned>(drawn)) + " games drawn",
                    std::to_string(static_cast<unsigned>(lost)) + " games lost"};
  if (games > 0) lines.push_back(std::to_string(ScorePercentage(won, drawn, lost)) + "% overall");
  return lines;
}

}  // namespace tessik
