#include <climits>
#include <iostream>
#include <memory>

#include "cli/choice.h"
#include "cli/commands.h"
#include "cli/openings_table.h"
#include "cli/reading_options.h"
#include "stats/openings.h"

namespace tessik {

void AddOpeningsCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    OpeningKey key = OpeningKey::Eco;
    int minGames = 1;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "openings",
      "Opening by opening, with white and with black apart: games, results, the score, and the "
      "score the ratings expected over the games whose ratings are both known; games without "
      "an opening count under ?");
  const Choices<OpeningKey> keys = {
      {"eco", OpeningKey::Eco}, {"name", OpeningKey::Name}, {"family", OpeningKey::Family}};
  command
      ->add_option("--by", options->key,
                   "eco (the ECO code), name (the whole opening name) or family (the name "
                   "before its first colon)")
      ->type_name("TEXT")
      ->transform(OneOf(keys))
      ->default_str("eco");
  command
      ->add_option("--min-games", options->minGames,
                   "Only the rows (an opening with one colour) of at least this many games")
      ->capture_default_str()
      ->check(CLI::Range(1, INT_MAX));
  AddReadingOptions(*command, options->reading, Figures::Expectations);
  command->callback([&place, options] {
    std::cout << ReadLog(place, options->reading, [&](const LogView& view, std::ostream& out) {
      const std::vector<OpeningRow> rows =
          OpeningRows(SelectedGames(view), options->key, view.expectation, options->minGames);
      if (view.json) {
        out << JsonText(OpeningsJson(rows));
      } else {
        out << OpeningsText(rows);
      }
    });
  });
}

}  // namespace tessik
