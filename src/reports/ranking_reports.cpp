#include "reports/ranking_reports.h"

#include <array>
#include <cstdio>
#include <functional>
#include <string>

#include "reports/score_report.h"

namespace tessik {

namespace {

struct RankingEntry {
  std::string name;
  int32_t won = 0;
  int32_t drawn = 0;
  int32_t lost = 0;
  float rankingScore = 0.0f;

  int32_t Games() const { return won + drawn + lost; }
};

using Rows = std::array<RankingEntry, 10>;

// Ranks every opponent: an entry goes in when ranksAbove(its score, row 10's score), below
// every row it does not rank above, so that among equals the one met first stays higher.
Rows Rank(OpponentTotalsList& totals, float emptyScore,
          const std::function<float(const RankingEntry&)>& score,
          const std::function<bool(float, float)>& ranksAbove) {
  Rows rows;
  for (RankingEntry& row : rows) row.rankingScore = emptyScore;
  totals.ResetCursor(true);
  for (OpponentTotals entry; totals.NextEntry(entry) == 1;) {
    RankingEntry candidate{entry.name, entry.won, entry.drawn, entry.lost};
    candidate.rankingScore = score(candidate);
    if (!ranksAbove(candidate.rankingScore, rows[9].rankingScore)) continue;
    size_t place = 9;
    while (place > 0 && ranksAbove(candidate.rankingScore, rows[place - 1].rankingScore)) {
      rows[place] = rows[place - 1];
      --place;
    }
    rows[place] = candidate;
  }
  return rows;
}

bool Higher(float a, float b) { return a > b; }
bool Lower(float a, float b) { return a < b; }

ReportLines ScoreRows(std::string heading, const Rows& rows) {
  ReportLines lines{std::move(heading)};
  for (const RankingEntry& row : rows) {
    char line[128];
    std::snprintf(line, sizeof line, "%-15s \t +%2d  =%2d  -%2d  %3u%%", row.name.c_str(), row.won,
                  row.drawn, row.lost, ScorePercentage(row.won, row.drawn, row.lost));
    lines.emplace_back(line);
  }
  return lines;
}

}  // namespace

ReportLines MostGamesReport(OpponentTotalsList& totals) {
  ReportLines lines{"Most games against:"};
  Rows rows = Rank(
      totals, 0.0f, [](const RankingEntry& e) { return static_cast<float>(e.Games()); }, Higher);
  for (const RankingEntry& row : rows) {
    char line[128];
    std::snprintf(line, sizeof line, "%-15s \t(%d)  +%-2d  =%-2d  -%-2d", row.name.c_str(),
                  row.Games(), row.won, row.drawn, row.lost);
    lines.emplace_back(line);
  }
  return lines;
}

ReportLines BestReport(OpponentTotalsList& totals) {
  return ScoreRows("Best:", Rank(
                                totals, 0.0f,
                                [](const RankingEntry& e) {
                                  return static_cast<float>(2 * e.won + e.drawn) /
                                         static_cast<float>(e.Games() + 2);
                                },
                                Higher));
}

ReportLines WorstReport(OpponentTotalsList& totals) {
  return ScoreRows("Worst:", Rank(
                                 totals, 2.0f,
                                 [](const RankingEntry& e) {
                                   return static_cast<float>(2 * e.won + e.drawn + 4) /
                                          static_cast<float>(e.Games() + 2);
                                 },
                                 Lower));
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
