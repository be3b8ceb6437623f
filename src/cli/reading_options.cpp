#include "cli/reading_options.h"

#include <ctime>
#include <sstream>

#include "base/decimal.h"
#include "cli/choice.h"
#include "stats/game_filter.h"
#include "stats/utc_time.h"

namespace tessik {

namespace {

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

const CLI::Validator kPeriod(
    [](std::string& text) {
      return ParseTimeSpan(text, Now())
                 ? std::string()
                 : "not a day (YYYY-MM-DD), month (YYYY-MM), year (YYYY) nor a time ago (30d, "
                   "2w, 6m, 1y): " +
                       text;
    },
    "WHEN");

const CLI::Validator kClock(
    [](std::string& text) {
      return ClockOfText(text) ? std::string()
                               : "not a clock (180+2, 600, or 1d for a day a move): " + text;
    },
    "CLOCK");

// A band of ratings, "1800-2000" both ends included, "1800-" or "-2000" open at one end.
struct RatingBand {
  std::optional<int> low, high;
};
std::optional<RatingBand> RatingBandOf(std::string_view text) {
  const size_t dash = text.find('-');
  if (dash == std::string_view::npos || text.size() == 1) return std::nullopt;
  RatingBand band;
  for (auto [part, end] :
       {std::pair{text.substr(0, dash), &band.low}, std::pair{text.substr(dash + 1), &band.high}}) {
    if (part.empty()) continue;
    if (part.size() > 4 || part.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    *end = ParseDecimal(part);
  }
  if (band.low && band.high && *band.low > *band.high) return std::nullopt;
  return band;
}

const CLI::Validator kRatingBand(
    [](std::string& text) {
      return RatingBandOf(text) ? std::string()
                                : "not a band of ratings (1800-2000, 1800- or -2000): " + text;
    },
    "LOW-HIGH");

// The rating types by the names of the score lines, in flag order.
Choices<RatingType> RatingTypes() {
  Choices<RatingType> types;
  for (RatingType type : EveryRatingType()) types.emplace_back(RatingTypeName(type), type);
  return types;
}

GameFilter FilterOf(const ReadingOptions& options) {
  GameFilter filter;
  const int64_t now = Now();
  if (!options.since.empty()) filter.since = ParseTimeSpan(options.since, now)->first;
  if (!options.until.empty()) filter.until = ParseTimeSpan(options.until, now)->end;  // included
  filter.types = options.type;
  if (!options.colour.empty()) filter.white = options.colour == "white";
  if (options.rated || options.unrated) filter.rated = options.rated;
  filter.server = options.server;
  filter.timeClass = options.timeClass;
  if (!options.clock.empty()) filter.clock = ClockOfText(options.clock);
  if (!options.variant.empty()) filter.variant = VariantNamed(options.variant);
  if (!options.opponentRating.empty()) {
    const RatingBand band = *RatingBandOf(options.opponentRating);
    filter.minOpponentRating = band.low;
    filter.maxOpponentRating = band.high;
  }
  filter.ending = options.ending;
  if (filter.since && filter.until && *filter.since >= *filter.until) {
    throw CLI::ValidationError("--since", options.since + " is after --until " + options.until +
                                              ": no day lies between them");
  }
  return filter;
}

}  // namespace

void AddReadingOptions(CLI::App& command, ReadingOptions& options, Figures figures) {
  command
      .add_option("--since", options.since,
                  "Only games from then on: a day (YYYY-MM-DD), a month (YYYY-MM) or a year "
                  "(YYYY), UTC, or a time ago (30d, 2w, 6m, 1y)")
      ->check(kPeriod);
  command
      .add_option("--until", options.until,
                  "Only games up to then: a day, month or year itself included, or a time ago")
      ->check(kPeriod);
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
  Choices<TimeClass> classes;
  for (TimeClass timeClass : kTimeClasses)
    classes.emplace_back(TimeClassName(timeClass), timeClass);
  command
      .add_option("--class", options.timeClass,
                  "Only games of one time class: ultrabullet, bullet, blitz, rapid, classical or "
                  "correspondence; the server's own, else by the clock (base + 40 x increment "
                  "seconds: under 30 ultrabullet, 180 bullet, 480 blitz, 1500 rapid)")
      ->type_name("TEXT")
      ->transform(OneOf(classes).description("CLASS"));
  command.add_option("--clock", options.clock, "Only games of one clock: 180+2, 600, 1d")
      ->check(kClock);
  command.add_option("--variant", options.variant,
                     "Only games of one variant: chess960, crazyhouse, ...; standard for ordinary "
                     "chess");
  command
      .add_option("--opponent-rating", options.opponentRating,
                  "Only games against a rating in a band: 1800-2000, 1800- or -2000")
      ->check(kRatingBand);
  Choices<Ending> endings;
  for (Ending ending : kEndings) endings.emplace_back(EndingName(ending), ending);
  std::string endingNames;
  for (const auto& [name, ending] : endings)
    endingNames += (endingNames.empty() ? "" : ", ") + name;
  command
      .add_option("--termination", options.ending, "Only games that ended one way: " + endingNames)
      ->type_name("TEXT")
      ->transform(OneOf(endings).description("ENDING"));
  command.add_option("--colour", options.colour, "Only games the user played with this colour")
      ->transform(OneOfNames({"white", "black"}));
  auto* rated = command.add_flag("--rated", options.rated, "Only rated games");
  command.add_flag("--unrated", options.unrated, "Only unrated games")->excludes(rated);
  if (figures == Figures::Expectations) {
    command.add_flag("--elo", options.elo,
                     "Expected scores by the exact Elo expectation, 1 / (1 + 10^(-D/400)) for a "
                     "rating difference D, instead of Tessik's table of 32nds of a point");
  }
  command.add_flag("--json", options.json, "Print one JSON document instead of text");
}

std::string ReadLog(const LogPlace& place, const ReadingOptions& options,
                    const std::function<void(const LogView&, std::ostream&)>& print,
                    bool sayCounted) {
  LogView view = OpenRecord(place, FilterOf(options), options.json);
  if (options.elo) view.expectation = ExpectationRule::Elo;
  std::ostringstream text;
  print(view, text);
  if (const std::string sources = CountedSources(view);
      !sources.empty() && !options.json && sayCounted) {
    text << "\nCounted: " << sources << "\n";
  }
  return text.str();
}

}  // namespace tessik
