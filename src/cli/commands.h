// What each command of tessik-stats prints, as aligned text or as one JSON document.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/user_log.h"
#include "stats/archive_game.h"
#include "stats/history.h"
#include "store/game_record.h"

namespace tessik {

// The record against opponent. Throws DataError, suggesting the closest handles, when the whole
// log holds no game against opponent: a mistyped handle, not a filter that leaves none.
void PrintScore(const LogView& view, const std::string& opponent, std::ostream& out);
// report: most, best, worst, overall or surprise (with at least minGames games).
void PrintRanking(const LogView& view, const std::string& report, int minGames, std::ostream& out);
void PrintHistory(const LogView& view, Period period, std::ostream& out);
// format: csv or json.
void PrintExport(const LogView& view, const std::string& format, std::ostream& out);

struct ImportOptions {
  std::string pgn;
  std::string directory;
  std::string user;
  std::string player;  // the user's name in the PGN; empty: user
  PgnFormat format = PgnFormat::Auto;
};

// Adds the PGN's games to the user's log and prints what became of them. Throws DataError when
// nothing could be written.
void RunImport(const ImportOptions& options, std::ostream& out);

}  // namespace tessik
