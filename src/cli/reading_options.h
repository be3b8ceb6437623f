// What every command that reads the log (score, rank, history, summary, export) takes: the
// filters and --json; and the run they share, the log read through them into one text.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "record/user_log.h"
#include "stats/game.h"
#include "stats/game_kind.h"
#include "store/rating_type.h"

namespace tessik {

struct ReadingOptions {
  std::string since, until;  // checked: as ParseTimeSpan reads them
  RatingType type = AnyRatingType;
  std::string colour;  // checked: white, black or empty
  std::optional<Server> server;
  bool rated = false, unrated = false;
  std::optional<TimeClass> timeClass;
  std::string clock;           // checked: as ClockOfText reads it
  std::string variant;         // any name
  std::string opponentRating;  // checked: "1800-2000", "1800-" or "-2000"
  std::optional<Ending> ending;
  bool json = false;
  bool elo = false;  // the exact Elo expectation instead of the table
};

// What a command's figures include beyond the games' counts.
enum class Figures { Counts, Expectations };

// Adds the filters and --json to command, bound to options, after the command's own options;
// for a command whose figures include what the ratings predicted, --elo too.
void AddReadingOptions(CLI::App& command, ReadingOptions& options,
                       Figures figures = Figures::Counts);

// What print makes of the user's record at place through options' filters; a text (not JSON,
// and when sayCounted) ends with a line saying what it counted once a database adds to the log.
// Throws DataError, as OpenRecord and print do, before any text is given out.
std::string ReadLog(const LogPlace& place, const ReadingOptions& options,
                    const std::function<void(const LogView&, std::ostream&)>& print,
                    bool sayCounted = true);

}  // namespace tessik
