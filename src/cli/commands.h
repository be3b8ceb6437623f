// The commands of tessik-stats: each adds itself to the app, its options and its run.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "record/log_place.h"

namespace tessik {

// Each adds its command to app, with its options, and as the command's callback its run: that
// runs once app has parsed a command line naming the command, when place holds what was given,
// so place must outlive the parse. The values the options are bound to live in the callback,
// which the command keeps. A run prints its output on standard output (export: or into
// the file --output names) only once the whole output is known; it throws DataError when the
// data does not serve (exit status 2), a CLI::ParseError when the command line does not (1).
void AddScoreCommand(CLI::App& app, const LogPlace& place);
void AddRankCommand(CLI::App& app, const LogPlace& place);
void AddHistoryCommand(CLI::App& app, const LogPlace& place);
void AddOpeningsCommand(CLI::App& app, const LogPlace& place);
void AddSummaryCommand(CLI::App& app, const LogPlace& place);
void AddExportCommand(CLI::App& app, const LogPlace& place);
void AddImportCommand(CLI::App& app, const LogPlace& place);
void AddFetchCommand(CLI::App& app, const LogPlace& place);
void AddSourcesCommand(CLI::App& app, const LogPlace& place);
void AddForgetCommand(CLI::App& app, const LogPlace& place);

}  // namespace tessik
