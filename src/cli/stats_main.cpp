// tessik-stats: the user's statistics from the Tessik game log, without a host.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/commands.h"
#include "cli/data_error.h"
#include "version.h"

int main(int argc, char** argv) {
  using namespace tessik;
  CLI::App app{
      "The Tessik game log's statistics: the record against a player, rankings, "
      "history, and every game for a spreadsheet.",
      "tessik-stats"};
  app.set_version_flag("--version", std::string("tessik-stats ") + kVersion);
  app.require_subcommand(1);
  app.fallthrough();  // --dir and --user after the command too
  LogPlace place;
  app.add_option("--dir", place.directory,
                 "The folder the plug-in runs in; the log is tessik/USER.glg in it")
      ->capture_default_str();
  app.add_option("--user", place.user,
                 "Whose log to read; needed only when the folder holds several");
  for (auto add :
       {AddScoreCommand, AddRankCommand, AddHistoryCommand, AddExportCommand, AddImportCommand}) {
    add(app, place);
  }

  try {
    app.parse(argc, argv);  // runs the command named
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : 1;
  } catch (const DataError& error) {
    std::cerr << "tessik-stats: " << error.what() << "\n";
    return 2;
  }
  // Output that could not be written (a full disk, a closed pipe) is no success.
  if (std::cout << std::flush) return 0;
  std::cerr << "tessik-stats: cannot write the standard output\n";
  return 2;
}
