// The record against an opponent in words, as tessik-stats prints it and the window shows it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "stats/head_to_head.h"

namespace tessik {

// value with one decimal ("2.5"); withSign: always with its sign ("+0.5", "-1.0"), and a value
// that rounds to nothing as "+0.0".
std::string OneDecimal(double value, bool withSign = false);

// A result seen from the user: "won", "drawn" or "lost".
const char* ResultWord(char result);

// The points made in games, beside the points expected where both ratings are known: "2.5 of 7,
// expected 3.5 (-1.0)"; "...; 2.0 of the 5 games with both ratings known, expected 2.6 (-0.6)".
std::string PointsText(double points, int games, const Expectation& expectation);

// "2024-03-05 won with white, blitz".
std::string GameText(const PlayedGame& game);

// Streaks as the text gives them: "now 2 won in a row; longest 3 won, 1 lost".
std::string StreakText(const Streaks& streaks);

// A performance as the text gives it: "1561 (average opponent 1710, 30%: -149)", and from how
// few games it comes, under kFewGamesForAPerformance of them.
std::string PerformanceText(const Performance& performance);

// The record's summary, a label and a text each: Points, Streak, First game, Last game, the
// spellings counted as the one opponent when there are several ("Counted as"), and Performance
// when there is one. Nothing without games.
std::vector<std::pair<std::string, std::string>> SummaryRows(const HeadToHead& record);

}  // namespace tessik
