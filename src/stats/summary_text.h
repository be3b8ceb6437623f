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

// The record's summary, a label and a text each: Points, Streak, First game, Last game, the
// spellings counted as the one opponent when there are several ("Counted as"), and Performance
// when there is one. Nothing without games.
std::vector<std::pair<std::string, std::string>> SummaryRows(const HeadToHead& record);

}  // namespace tessik
