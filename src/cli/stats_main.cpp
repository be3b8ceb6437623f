// tessik-stats: the user's statistics from the Tessik game log, without a host.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/commands.h"
#include "cli/usage_error.h"
#include "platform/huge_pages.h"
#include "record/data_error.h"
#include "version.h"

int main(int argc, char** argv) {
  using namespace tessik;
  GrowHeapInHugePages(64 << 20);
  CLI::App app{
      "The statistics of a player's games: of the Tessik game log, and of the games imported "
      "or fetched from lichess and chess.com into a database of their own. The record against "
      "a player, rankings, history, openings, a summary pool by pool, and every game for a "
      "spreadsheet.",
      "tessik-stats"};
  app.set_version_flag("--version", std::string("tessik-stats ") + kVersion);
  app.require_subcommand(1);
  app.fallthrough();  // --dir and --user after the command too
  LogPlace place;
  app.add_option("--dir", place.directory,
                 "The folder the plug-in runs in; the log is tessik/USER.glg in it")
      ->capture_default_str();
  app.add_option("--user", place.user,
                 "Whose log and database to read; needed only when the folder holds several");
  app.add_option("--db", place.database,
                 "The database of the user's online and imported games (else the file the "
                 "environment's TESSIK_DB names, else ~/.local/share/tessik/USER.sqlite, in "
                 "$XDG_DATA_HOME when set)");
  for (auto add :
       {AddScoreCommand, AddRankCommand, AddHistoryCommand, AddOpeningsCommand, AddSummaryCommand,
        AddExportCommand, AddImportCommand, AddFetchCommand, AddSourcesCommand, AddForgetCommand}) {
    add(app, place);
  }

  try {
    app.parse(argc, argv);  // runs the command named
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
    std::cerr << "tessik-stats: " << UsageError(app, error)
              << "\nRun with --help for more information.\n";
    return 1;
  } catch (const DataError& error) {
    std::cerr << "tessik-stats: " << error.what() << "\n";
    return 2;
  }
  // Output that could not be written (a full disk, a closed pipe) is no success.
  if (std::cout << std::flush) return 0;
  std::cerr << "tessik-stats: cannot write the standard output\n";
  return 2;
}
