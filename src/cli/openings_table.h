// The table of openings that the openings command prints, and score --openings after its own.
#pragma once

#include <string>
#include <vector>

#include "cli/json_text.h"
#include "stats/openings.h"

namespace tessik {

// The rows in space-aligned columns under a heading: colour, opening (in caret notation), games,
// won, drawn, lost, the score and the expected score with the games it stands on ("58% of 3";
// "-" when none has both ratings).
std::string OpeningsText(const std::vector<OpeningRow>& rows);

// The rows as an array of objects, the expected percentage null when no game has both ratings.
Json OpeningsJson(const std::vector<OpeningRow>& rows);

}  // namespace tessik
