#include <iostream>
#include <memory>
#include <utility>

#include "cli/choice.h"
#include "cli/commands.h"
#include "cli/figures_json.h"
#include "cli/json_text.h"
#include "cli/reading_options.h"
#include "cli/text_format.h"
#include "stats/game_filter.h"
#include "stats/history.h"
#include "store/handle.h"

namespace tessik {

namespace {

void PrintHistory(const LogView& view, Period period, std::ostream& out) {
  const std::vector<HistoryRow> history = History(SelectedGames(view), period);
  if (view.json) {
    Json rows = Json::array();
    for (const HistoryRow& row : history) {
      Json ratings = Json::object();
      for (const auto& [pool, rating] : row.lastRatings) ratings[pool] = rating;
      Json json = {{"period", row.period}};
      json.update(CountsJson(row.counts));
      json["last_ratings"] = ratings;
      rows.push_back(std::move(json));
    }
    out << JsonText(std::move(rows));
    return;
  }
  std::vector<TableRow> rows = {{"Period", "Games", "+", "=", "-", "Score", "Last ratings"}};
  for (const HistoryRow& row : history) {
    std::string ratings;
    for (const auto& [pool, rating] : row.lastRatings) {
      ratings += (ratings.empty() ? "" : ", ") + PrintableName(pool) + " " + std::to_string(rating);
    }
    const ScoreCounts& c = row.counts;
    rows.push_back({row.period, std::to_string(c.Games()), std::to_string(c.won),
                    std::to_string(c.drawn), std::to_string(c.lost),
                    std::to_string(ScorePercentage(c.won, c.drawn, c.lost)) + "%", ratings});
  }
  out << AlignedTable(rows, "lrrrrr");
}

}  // namespace

void AddHistoryCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    Period period = Period::Month;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "history", "Per month, week or year: games, results, the score and the last ratings");
  const Choices<Period> periods = {
      {"week", Period::Week}, {"month", Period::Month}, {"year", Period::Year}};
  command->add_option("--by", options->period, "week, month or year")
      ->type_name("TEXT")
      ->transform(OneOf(periods))
      ->default_str("month");
  AddReadingOptions(*command, options->reading);
  command->callback([&place, options] {
    std::cout << ReadLog(place, options->reading, [&](const LogView& view, std::ostream& out) {
      PrintHistory(view, options->period, out);
    });
  });
}

}  // namespace tessik
