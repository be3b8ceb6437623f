#include <iostream>
#include <memory>
#include <utility>

#include "cli/choice.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/reading_options.h"
#include "record/data_error.h"
#include "stats/game_export.h"
#include "store/file_cause.h"
#include "store/safe_save.h"

namespace tessik {

namespace {

// Every game the view lets through, as CSV or, when the view asks for JSON, as JSON.
void PrintExport(const LogView& view, std::ostream& out) {
  const std::vector<ExportedGame> games = ExportGames(SelectedGames(view));
  if (!view.json) {
    out << GamesAsCsv(games);
    return;
  }
  Json rows = Json::array();
  for (const ExportedGame& g : games) {
    rows.push_back({{"start", g.start.empty() ? Json() : Json(g.start)},
                    {"colour", g.colour},
                    {"result", g.result},
                    {"opponent", g.opponent},
                    {"user_rating", g.userRating},
                    {"opponent_rating", g.opponentRating},
                    {"rating_type", g.ratingType},
                    {"initial_minutes", g.initialMinutes ? Json(*g.initialMinutes) : Json()},
                    {"increment_seconds", g.incrementSeconds},
                    {"rated", g.rated},
                    {"pool", g.pool},
                    {"title", g.title},
                    {"woman_title", g.womanTitle},
                    {"computer", g.computer}});
  }
  out << JsonText(std::move(rows));
}

}  // namespace

void AddExportCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    std::string format = "csv", output;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command =
      app.add_subcommand("export", "Every game, one row each, decoded: CSV (RFC 4180) or JSON");
  command->add_option("--format", options->format, "csv or json")
      ->capture_default_str()
      ->transform(OneOfNames({"csv", "json"}));
  command->add_option("--output", options->output, "Write to this file instead of standard output");
  AddReadingOptions(*command, options->reading);
  command->get_option("--json")->description("The same as --format json");
  command->callback([&place, options] {
    ReadingOptions reading = options->reading;
    reading.json = reading.json || options->format == "json";
    const std::string text = ReadLog(place, reading, PrintExport, false);
    const std::string& output = options->output;
    if (output.empty()) {
      std::cout << text;
    } else if (std::error_code cause = WriteFileAtomically(
                   {AT_FDCWD, output, output + ".tessik-tmp", "", 0666}, Backup::None, text)) {
      throw DataError("cannot write " + output + ": " + DescribeFileCause(FileCauseOf(cause)));
    }
  });
}

}  // namespace tessik
