#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "base/text.h"
#include "cli/choice.h"
#include "cli/commands.h"
#include "database/database_error.h"
#include "database/database_import.h"
#include "record/data_error.h"
#include "stats/archive_game.h"
#include "store/handle.h"

namespace tessik {

namespace {

struct ImportOptions {
  std::string pgn;
  std::string player;  // the user's name in the PGN; empty: the user
  PgnFormat format = PgnFormat::Auto;
};

// A progress bar on standard error, redrawn when the percentage changes.
struct ProgressBar {
  int shown = -1;  // the percentage drawn

  void Show(off_t read, off_t total) {
    if (total <= 0) return;  // standard input, or compressed: no size to measure against
    const int percent = static_cast<int>(read * 100 / total);
    if (percent == shown) return;
    shown = percent;
    std::string bar(static_cast<size_t>(percent / 4), '#');
    bar.resize(25, '.');
    std::fprintf(stderr, "\rImporting [%s] %3d%%%s", bar.c_str(), percent,
                 percent == 100 ? "\n" : "");
  }
  // Ends the bar's line when the import stopped before its end.
  void End() const {
    if (shown >= 0 && shown < 100) std::fputc('\n', stderr);
  }
};

// Adds the PGN's games to the user's database and prints what became of them. Throws DataError
// when the PGN cannot be read (the whole games committed before stay) or the database written.
void RunImport(const ImportOptions& options, const LogPlace& place, std::ostream& out) {
  DatabaseImportRequest request{
      options.pgn, options.player.empty() ? place.user : options.player, options.format, {}};
  ProgressBar bar;
  if (isatty(STDERR_FILENO) != 0) {
    request.progress = [&bar](off_t read, off_t total) { bar.Show(read, total); };
  }
  DatabaseImportResult result;
  std::string path;
  try {
    RecordDatabase database(DatabasePlaceOf(place.database, place.user), true);
    path = database.path();
    result = ImportIntoDatabase(database, request);
  } catch (const DatabaseError& error) {
    bar.End();
    throw DataError(error.what());
  }
  bar.End();
  auto left = [&result](LeftOut why) { return result.leftOut[static_cast<size_t>(why)]; };
  if (result.read == 0) throw DataError(PrintableName(options.pgn) + " holds no PGN game");
  if (left(LeftOut::NotTheUser) == result.read) {
    std::string players;
    for (const std::string& name : result.everyGamePlayers) {
      players += (players.empty() ? "" : " and ") + PrintableName(name);
    }
    throw DataError("none of the " + std::to_string(result.read) + " games of " +
                    PrintableName(options.pgn) + " is " + PrintableName(request.player) + "'s; " +
                    (players.empty()
                         ? "no player is in every game"
                         : players + (result.everyGamePlayers.size() == 1 ? " is in every game"
                                                                          : " are in every game")) +
                    " (--player names the user in the file)");
  }
  const int leftOut = left(LeftOut::NotTheUser) + left(LeftOut::NoResult) + left(LeftOut::Variant);
  out << "Read " << GamesText(result.read) << " from " << PrintableName(options.pgn) << ": "
      << result.added << " added, " << result.present << " already in the database, " << leftOut
      << " left out";
  if (leftOut > 0) {
    out << " (" << left(LeftOut::NotTheUser) << " not " << PrintableName(request.player) << "'s, "
        << left(LeftOut::NoResult) << " without a result, " << left(LeftOut::Variant)
        << " of a variant the record leaves out)";
  }
  out << "\n";
  if (result.added > 0) out << "The database is " << PrintableName(path) << "\n";
}

}  // namespace

void AddImportCommand(CLI::App& app, const LogPlace& place) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* command = app.add_subcommand(
      "import",
      "Adds the games of a PGN file that the user's database does not hold yet: the host's own "
      "PGN, an online server's export, or any standard PGN; plain or compressed with gzip. A game "
      "of lichess or chess.com is known by its id (its Site or Link), any other by its tags, so "
      "the same game imported twice, or imported and fetched, is one game. The plug-in's log is "
      "never written");
  command->add_option("FILE", options->pgn, "The PGN file; - reads standard input")->required();
  command->add_option("--player", options->player,
                      "The user's name in the PGN, when it is not the handle of --user");
  const Choices<PgnFormat> formats = {{"auto", PgnFormat::Auto},
                                      {"server", PgnFormat::Server},
                                      {"online", PgnFormat::Online},
                                      {"standard", PgnFormat::Standard}};
  command->add_option("--format", options->format, "auto, server, online or standard")
      ->type_name("TEXT")
      ->transform(OneOf(formats))
      ->default_str("auto");
  command->callback([&place, options] {
    // Reading commands may pick the folder's only log; a database written must be named.
    if (place.user.empty()) {
      throw CLI::ValidationError("import", "--user names whose database the games go to");
    }
    RunImport(*options, place, std::cout);
  });
}

}  // namespace tessik
