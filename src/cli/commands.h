// What each command of tessik-stats prints, as aligned text or as one JSON document.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "stats/archive_game.h"
#include "stats/history.h"
#include "store/game_record.h"

namespace tessik {

// What every reading command works on: the user's whole log and the games the filters let
// through (record 0 the marker in both).
struct LogView {
  std::string user;
  std::string path;
  std::vector<GameRecord> whole;
  std::vector<GameRecord> selected;
  bool json = false;
};

// The record against opponent. Throws DataError for a handle without a game in the whole log,
// suggesting the closest handles.
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
