#include "reports/ranking_reports.h"

#include <cstdio>
#include <functional>
#include <string>

#include "reports/score_report.h"
#include "store/handle.h"

namespace tessik {

namespace {

int32_t Games(const OpponentTotals& e) { return e.won + e.drawn + e.lost; }

// Ranks every opponent: an entry goes in when ranksAbove(its score, row 10's score), below
// every row it does not rank above, so that among equals the one met first stays higher.
RankedRows Rank(OpponentTotalsList& totals, float emptyScore,
                const std::function<float(const OpponentTotals&)>& score,
                const std::function<bool(float, float)>& ranksAbove) {
  RankedRows rows;
  std::array<float, 10> scores;
  scores.fill(emptyScore);
  totals.ResetCursor(true);
  for (OpponentTotals entry; totals.NextEntry(entry) == 1;) {
    const float candidate = score(entry);
    if (!ranksAbove(candidate, scores[9])) continue;
    size_t place = 9;
    while (place > 0 && ranksAbove(candidate, scores[place - 1])) {
      rows[place] = rows[place - 1];
      scores[place] = scores[place - 1];
      --place;
    }
    rows[place] = entry;
    scores[place] = candidate;
  }
  return rows;
}

bool Higher(float a, float b) { return a > b; }
bool Lower(float a, float b) { return a < b; }

ReportLines ScoreRows(std::string heading, const RankedRows& rows) {
  ReportLines lines{std::move(heading)};
  for (const OpponentTotals& row : rows) {
    char line[128];
    std::snprintf(line, sizeof line, "%-15s \t +%2d  =%2d  -%2d  %3u%%",
                  PrintableName(row.name).c_str(), row.won, row.drawn, row.lost,
                  ScorePercentage(row.won, row.drawn, row.lost));
    lines.emplace_back(line);
  }
  return lines;
}

}  // namespace

RankedRows RankOpponents(OpponentTotalsList& totals, Ranking ranking) {
  switch (ranking) {
    case Ranking::MostGames:
      return Rank(
          totals, 0.0f, [](const OpponentTotals& e) { return static_cast<float>(Games(e)); },
          Higher);
    case Ranking::Best:  // by (2W + D) / (N + 2)
      return Rank(
          totals, 0.0f,
          [](const OpponentTotals& e) {
            return static_cast<float>(2 * e.won + e.drawn) / static_cast<float>(Games(e) + 2);
          },
          Higher);
    case Ranking::Worst:  // by (2W + D + 4) / (N + 2), the lowest first
      break;
  }
  return Rank(
      totals, 2.0f,
      [](const OpponentTotals& e) {
        return static_cast<float>(2 * e.won + e.drawn + 4) / static_cast<float>(Games(e) + 2);
      },
      Lower);
}

ReportLines MostGamesReport(OpponentTotalsList& totals) {
  ReportLines lines{"Most games against:"};
  for (const OpponentTotals& row : RankOpponents(totals, Ranking::MostGames)) {
    char line[128];
    std::snprintf(line, sizeof line, "%-15s \t(%d)  +%-2d  =%-2d  -%-2d",
                  PrintableName(row.name).c_str(), Games(row), row.won, row.drawn, row.lost);
    lines.emplace_back(line);
  }
  return lines;
}

ReportLines BestReport(OpponentTotalsList& totals) {
  return ScoreRows("Best:", RankOpponents(totals, Ranking::Best));
}

ReportLines WorstReport(OpponentTotalsList& totals) {
  return ScoreRows("Worst:", RankOpponents(totals, Ranking::Worst));
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
