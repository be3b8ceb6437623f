// tessik-stats: the user's statistics from the Tessik game log, without a host.
#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/data_error.h"
#include "cli/user_log.h"
#include "stats/game_filter.h"
#include "stats/utc_time.h"
#include "store/file_cause.h"
#include "store/safe_save.h"
#include "version.h"

namespace {

using namespace tessik;

// The filters every reading command takes, as given on the command line.
struct FilterOptions {
  std::string since, until, type, colour;
  bool rated = false, unrated = false;

  GameFilter Filter() const {
    GameFilter filter;
    if (!since.empty()) filter.since = ParseDate(since);
    if (!until.empty()) filter.until = *ParseDate(until) + 24 * 60 * 60;  // the whole day
    if (!type.empty()) filter.types = RatingTypeNamed(type);
    if (!colour.empty()) filter.white = colour == "white";
    if (rated || unrated) filter.rated = rated;
    return filter;
  }
};

const CLI::Validator kDate(
    [](std::string& text) {
      return ParseDate(text) ? std::string() : "not a date of the form YYYY-MM-DD: " + text;
    },
    "DATE");

const CLI::Validator kRatingType(
    [](std::string& name) {
      return RatingTypeNamed(name) != kNoRatingType ? std::string() : "not a rating type: " + name;
    },
    "TYPE");

void AddReadingOptions(CLI::App& command, FilterOptions& filters, bool& json) {
  command.add_option("--since", filters.since, "Only games from this day on (YYYY-MM-DD, UTC)")
      ->check(kDate);
  command.add_option("--until", filters.until, "Only games up to this day, itself included")
      ->check(kDate);
  std::string types;
  for (RatingType type : EveryRatingType())
    types += std::string(types.empty() ? "" : ", ") + std::string(RatingTypeName(type));
  command.add_option("--type", filters.type, "Only games of one rating type: " + types)
      ->check(kRatingType);
  command.add_option("--colour", filters.colour, "Only games the user played with this colour")
      ->check(CLI::IsMember({"white", "black"}));
  auto* rated = command.add_flag("--rated", filters.rated, "Only rated games");
  command.add_flag("--unrated", filters.unrated, "Only unrated games")->excludes(rated);
  command.add_flag("--json", json, "Print one JSON document instead of text");
}

// The exit status once a command has printed: 2 when its output could not be written (a full
// disk, a closed pipe), which is no success.
int Finished() {
  if (std::cout << std::flush) return 0;
  std::cerr << "tessik-stats: cannot write the standard output\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "The Tessik game log's statistics: the record against a player, rankings, "
      "history, and every game for a spreadsheet.",
      "tessik-stats"};
  app.set_version_flag("--version", std::string("tessik-stats ") + kVersion);
  app.require_subcommand(1);
  app.fallthrough();  // --dir and --user after the command too
  std::string directory = ".", user;
  app.add_option("--dir", directory,
                 "The folder the plug-in runs in; the log is tessik/USER.glg in it")
      ->capture_default_str();
  app.add_option("--user", user, "Whose log to read; needed only when the folder holds several");
  FilterOptions filters;
  bool json = false;

  std::string opponent;
  CLI::App* score = app.add_subcommand(
      "score",
      "The record against one opponent: the plug-in's score lines with every line on, the "
      "points the stored ratings predicted, the last ten results, streaks, the first and last "
      "game, and a performance rating: the average rating of the opponent (over the games "
      "where it is known) plus the rating difference FIDE's table gives for the score in them "
      "(FIDE Rating Regulations, table 8.1.a)");
  score->add_option("OPPONENT", opponent, "The opponent's handle, as the log has it")->required();

  std::string report;
  int minGames = 5;
  CLI::App* rank = app.add_subcommand(
      "rank",
      "Opponents ranked: most (games), best, worst and overall, as the plug-in's window shows "
      "them; surprise: by the points scored minus the points the ratings predicted");
  rank->add_option("REPORT", report, "most, best, worst, overall or surprise")
      ->required()
      ->check(CLI::IsMember({"most", "best", "worst", "overall", "surprise"}));
  rank->add_option("--min-games", minGames, "surprise: only opponents with this many games")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);

  std::string by = "month";
  CLI::App* history = app.add_subcommand(
      "history", "Per month, week or year: games, results, the score and the last ratings");
  history->add_option("--by", by, "week, month or year")
      ->capture_default_str()
      ->check(CLI::IsMember({"week", "month", "year"}));

  std::string format = "csv", output;
  CLI::App* exported =
      app.add_subcommand("export", "Every game, one row each, decoded: CSV (RFC 4180) or JSON");
  exported->add_option("--format", format, "csv or json")
      ->capture_default_str()
      ->check(CLI::IsMember({"csv", "json"}));
  exported->add_option("--output", output, "Write to this file instead of standard output");

  ImportOptions import;
  std::string pgnFormat = "auto";
  CLI::App* importing = app.add_subcommand(
      "import",
      "Builds the user's log from a PGN file, or adds the games it does not hold yet: the "
      "host's own PGN, an online server's export, or any standard PGN. The old log is kept as "
      "USER.glg.bak. Refused while the user's session in Vexmoor is open");
  importing->add_option("FILE", import.pgn, "The PGN file")->required();
  importing->add_option("--player", import.player,
                        "The user's name in the PGN, when it is not the handle of --user");
  importing->add_option("--format", pgnFormat, "auto, server, online or standard")
      ->capture_default_str()
      ->check(CLI::IsMember({"auto", "server", "online", "standard"}));

  for (CLI::App* command : {score, rank, history, exported}) {
    AddReadingOptions(*command, filters, json);
  }
  exported->get_option("--json")->description("The same as --format json");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : 1;
  }
  if (importing->parsed() && user.empty()) {
    std::cerr << "import: --user names whose log the games go to\nRun with --help for more "
                 "information.\n";
    return 1;
  }
  try {
    if (importing->parsed()) {
      import.directory = directory;
      import.user = user;
      import.format = pgnFormat == "server"     ? PgnFormat::Server
                      : pgnFormat == "online"   ? PgnFormat::Online
                      : pgnFormat == "standard" ? PgnFormat::Standard
                                                : PgnFormat::Auto;
      RunImport(import, std::cout);
      return Finished();
    }
    const LogView view{FindUserLog(directory, user), filters.Filter(), json};
    std::ostringstream text;
    if (score->parsed()) PrintScore(view, opponent, text);
    if (rank->parsed()) PrintRanking(view, report, minGames, text);
    if (history->parsed()) {
      PrintHistory(view,
                   by == "week"   ? Period::Week
                   : by == "year" ? Period::Year
                                  : Period::Month,
                   text);
    }
    if (exported->parsed()) PrintExport(view, json ? "json" : format, text);
    if (output.empty()) {
      std::cout << text.str();
    } else if (std::error_code cause =
                   WriteFileAtomically({AT_FDCWD, output, output + ".tessik-tmp", "", 0666},
                                       Backup::None, text.str())) {
      throw DataError("cannot write " + output + ": " + DescribeFileCause(FileCauseOf(cause)));
    }
  } catch (const DataError& error) {
    std::cerr << "tessik-stats: " << error.what() << "\n";
    return 2;
  }
  return Finished();
}
