// Reports over every opponent: each returns its lines, heading first.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "store/opponent_totals.h"

namespace tessik {

using ReportLines = std::vector<std::string>;

ReportLines MostGamesReport(OpponentTotalsList& totals);  // the ten with the most games
ReportLines BestReport(OpponentTotalsList& totals);       // the ten the user scores best against
ReportLines WorstReport(OpponentTotalsList& totals);      // the ten the user scores worst against
ReportLines OverallReport(const OpponentTotalsList& totals);  // totals over all opponents

// The ten rows of the first three reports, as ranked; rows of no opponent have an empty name.
enum class Ranking { MostGames, Best, Worst };
using RankedRows = std::array<OpponentTotals, 10>;
RankedRows RankOpponents(OpponentTotalsList& totals, Ranking ranking);

// The same ranking of opponents listed in the order that settles ties (the first listed stays
// ahead of its equals): the places in opponents of the ten rows, -1 for a row of no opponent.
using RankedPlaces = std::array<int, 10>;
RankedPlaces RankPlaces(std::span<const OpponentTotals> opponents, Ranking ranking);

// A report's lines for its ten rows: the heading, then a line each, as the reports above print.
ReportLines RankingLines(Ranking ranking, const RankedRows& rows);
// The overall report's lines for these sums over that many opponents.
ReportLines OverallLines(int opponents, int32_t won, int32_t drawn, int32_t lost);

}  // namespace tessik
