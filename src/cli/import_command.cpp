#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "cli/choice.h"
#include "cli/commands.h"
#include "cli/data_error.h"
#include "stats/archive_game.h"
#include "stats/archive_import.h"
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
    const int percent = total > 0 ? static_cast<int>(read * 100 / total) : 100;
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

// Adds the PGN's games to the log of the user at place and prints what became of them. Throws
// DataError when nothing could be written.
void RunImport(const ImportOptions& options, const LogPlace& place, std::ostream& out) {
  ArchiveImportRequest request{options.pgn,    place.directory,
                               place.user,     options.player.empty() ? place.user : options.player,
                               options.format, {}};
  ProgressBar bar;
  if (isatty(STDERR_FILENO) != 0) {
    request.progress = [&bar](off_t read, off_t total) { bar.Show(read, total); };
  }
  const ArchiveImportResult result = ImportArchive(request);
  bar.End();
  if (!result.error.empty()) throw DataError(result.error);
  auto left = [&result](LeftOut why) { return result.leftOut[static_cast<size_t>(why)]; };
  const int leftOut = left(LeftOut::NotTheUser) + left(LeftOut::NoResult) + left(LeftOut::Variant);
  out << "Read " << result.read << " games from " << options.pgn << ": " << result.added
      << " added, " << result.present << " already in the log, " << leftOut << " left out";
  if (leftOut > 0) {
    out << " (" << left(LeftOut::NotTheUser) << " not " << PrintableName(request.player) << "'s, "
        << left(LeftOut::NoResult) << " without a result, " << left(LeftOut::Variant)
        << " of a variant the log leaves out)";
  }
  out << "\n";
  if (result.added > 0) out << "The game log is " << result.logPath << "\n";
}

}  // namespace

void AddImportCommand(CLI::App& app, const LogPlace& place) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* command = app.add_subcommand(
      "import",
      "Builds the user's log from a PGN file, or adds the games it does not hold yet: the "
      "host's own PGN, an online server's export, or any standard PGN. The old log is kept as "
      "USER.glg.bak. Refused while the user's session in Vexmoor is open");
  command->add_option("FILE", options->pgn, "The PGN file")->required();
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
    // Reading commands may pick the folder's only log; a log written must be named.
    if (place.user.empty()) {
      throw CLI::ValidationError("import", "--user names whose log the games go to");
    }
    RunImport(*options, place, std::cout);
  });
}

}  // namespace tessik
