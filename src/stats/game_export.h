// Every game decoded into plain fields, for a spreadsheet or another program.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "stats/game.h"

namespace tessik {

struct ExportedGame {
  std::string start;   // ISO 8601 UTC ("2024-03-01T18:30:00Z"); empty when unknown
  std::string colour;  // "white" or "black"
  std::string result;  // the user's: "won", "drawn" or "lost"
  std::string opponent;
  int userRating = 0;
  int opponentRating = 0;
  std::string ratingType;             // as the score lines name it: "blitz", "standard", "loser's"
  std::optional<int> initialMinutes;  // none: a game without a clock
  int incrementSeconds = 0;
  bool rated = false;
  bool pool = false;
  std::string title;       // "GM", "IM", "FM", "CM"; "?" unknown; empty none
  std::string womanTitle;  // "WGM", "WIM", "WFM", "WCM"; "?" unknown; empty none
  bool computer = false;
};

// The games, in order.
std::vector<ExportedGame> ExportGames(std::span<const Game> games);

// The games as CSV (RFC 4180): a header line, then one line per game, each ended by CR LF;
// fields holding a comma, a quote or a line break are quoted, quotes doubled. The opponent is in
// caret notation (a control byte as ^ and a letter); a text field that a spreadsheet would run
// as a formula (one beginning with =, +, -, @, a tab or a carriage return) begins with an
// apostrophe.
std::string GamesAsCsv(const std::vector<ExportedGame>& games);

}  // namespace tessik
