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
// ahead of its equals): the places in opponents of the first rows, at most limit of them. An
// opponent is ranked only with a score above an empty row's: most games with a game, best with
// a win or a draw, worst with a draw or a loss.
std::vector<size_t> RankPlaces(std::span<const OpponentTotals> opponents, Ranking ranking,
                               size_t limit);

}  // namespace tessik
