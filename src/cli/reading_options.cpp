#include "cli/reading_options.h"

#include <sstream>

#include "cli/choice.h"
#include "stats/game_filter.h"
#include "stats/utc_time.h"

namespace tessik {

namespace {

const CLI::Validator kDate(
    [](std::string& text) {
      return ParseDate(text) ? std::string() : "not a date of the form YYYY-MM-DD: " + text;
    },
    "DATE");

// The rating types by the names of the score lines, in flag order.
Choices<RatingType> RatingTypes() {
  Choices<RatingType> types;
  for (RatingType type : EveryRatingType()) types.emplace_back(RatingTypeName(type), type);
  return types;
}

GameFilter FilterOf(const ReadingOptions& options) {
  GameFilter filter;
  if (!options.since.empty()) filter.since = ParseDate(options.since);
  if (!options.until.empty())
    filter.until = *ParseDate(options.until) + 24 * 60 * 60;  // the whole day
  filter.types = options.type;
  if (!options.colour.empty()) filter.white = options.colour == "white";
  if (options.rated || options.unrated) filter.rated = options.rated;
  filter.server = options.server;
  if (filter.since && filter.until && *filter.since >= *filter.until) {
    throw CLI::ValidationError("--since", options.since + " is after --until " + options.until +
                                              ": no day lies between them");
  }
  return filter;
}

}  // namespace

void AddReadingOptions(CLI::App& command, ReadingOptions& options) {
  command.add_option("--since", options.since, "Only games from this day on (YYYY-MM-DD, UTC)")
      ->check(kDate);
  command.add_option("--until", options.until, "Only games up to this day, itself included")
      ->check(kDate);
  const Choices<RatingType> types = RatingTypes();
  std::string names;
  for (const auto& [name, type] : types) names += (names.empty() ? "" : ", ") + name;
  command.add_option("--type", options.type, "Only games of one rating type: " + names)
      ->type_name("TEXT")
      ->transform(OneOf(types).description("TYPE"));
  Choices<Server> servers;
  for (Server server : kServers) servers.emplace_back(ServerName(server), server);
  command
      .add_option("--server", options.server,
                  "Only the games of one server: kesh (the plug-in's log, and the host's PGN), "
                  "lichess, chesscom, or pgn (files that name none)")
      ->type_name("TEXT")
      ->transform(OneOf(servers));
  command.add_option("--colour", options.colour, "Only games the user played with this colour")
      ->transform(OneOfNames({"white", "black"}));
  auto* rated = command.add_flag("--rated", options.rated, "Only rated games");
  command.add_flag("--unrated", options.unrated, "Only unrated games")->excludes(rated);
  command.add_flag("--json", options.json, "Print one JSON document instead of text");
}

std::string ReadLog(const LogPlace& place, const ReadingOptions& options,
                    const std::function<void(const LogView&, std::ostream&)>& print,
                    bool sayCounted) {
  const LogView view = OpenRecord(place, FilterOf(options), options.json);
  std::ostringstream text;
  print(view, text);
  if (const std::string sources = CountedSources(view);
      !sources.empty() && !options.json && sayCounted) {
    text << "\nCounted: " << sources << "\n";
  }
  return text.str();
}

}  // namespace tessik
