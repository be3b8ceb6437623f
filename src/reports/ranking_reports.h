// Reports over every opponent: each returns its lines, heading first.
#pragma once

#include <array>
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

}  // namespace tessik
