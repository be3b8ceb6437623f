#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "cli/commands.h"
#include "cli/figures_json.h"
#include "cli/json_text.h"
#include "cli/openings_table.h"
#include "cli/reading_options.h"
#include "cli/text_format.h"
#include "record/data_error.h"
#include "stats/closest_handles.h"
#include "stats/game_filter.h"
#include "stats/head_to_head.h"
#include "stats/openings.h"
#include "stats/record_splits.h"
#include "stats/summary_text.h"
#include "stats/utc_time.h"
#include "store/handle.h"

namespace tessik {

namespace {

Json GameJson(const PlayedGame& game) {
  return {{"date", DateText(game.startTime)},         {"result", ResultWord(game.result)},
          {"colour", game.white ? "white" : "black"}, {"rating_type", RatingTypeName(game.type)},
          {"user_rating", game.userRating},           {"opponent_rating", game.opponentRating}};
}

// What the ratings predicted, over the games whose ratings are both known.
Json ExpectationJson(const Expectation& e) {
  return {{"games", e.games},
          {"points", e.scored},
          {"expected_points", e.expected},
          {"games_of_unknown_rating", e.unknown}};
}

// The record split by colour and by rating type, as the score lines split it, in numbers: every
// rating type ("any" first) with its games, both colours ("any") then each.
Json SplitsJson(const HeadToHead& record, ExpectationRule rule) {
  Json splits = Json::array();
  for (const RecordSplit& split : RecordSplits(record, rule)) {
    const ScoreCounts& counts = split.counts;
    splits.push_back(
        {{"rating_type", split.type == AnyRatingType ? "any" : RatingTypeName(split.type)},
         {"colour", split.colours == kLineWhite   ? "white"
                    : split.colours == kLineBlack ? "black"
                                                  : "any"},
         {"games", counts.Games()},
         {"won", counts.won},
         {"drawn", counts.drawn},
         {"lost", counts.lost},
         {"percentage", ScorePercentage(counts.won, counts.drawn, counts.lost)},
         {"expectation", ExpectationJson(split.expectation)}});
  }
  return splits;
}

// The rows of score --openings; nothing when they are not asked for.
using AskedOpenings = std::optional<std::vector<OpeningRow>>;

void PrintJson(const HeadToHead& record, ExpectationRule rule, const AskedOpenings& openings,
               std::ostream& out) {
  const ScoreCounts& t = record.total;
  Json json = {{"opponent", record.opponent},
               {"lines", record.lines},
               {"games", t.Games()},
               {"won", t.won},
               {"drawn", t.drawn},
               {"lost", t.lost},
               {"points", t.won + t.drawn / 2.0},
               {"expectation", ExpectationJson(record.expectation)}};
  json["splits"] = SplitsJson(record, rule);
  json["counted_as"] = Json::array();
  for (const auto& [server, name] : record.spellings) {
    json["counted_as"].push_back({{"server", ServerName(server)}, {"name", name}});
  }
  json["last_ten"] = Json::array();
  for (const PlayedGame& game : LastGames(record, 10)) json["last_ten"].push_back(GameJson(game));
  json["streaks"] = StreaksJson(record.streaks);
  json["first_game"] = record.games.empty() ? Json() : GameJson(record.games.front());
  json["last_game"] = record.games.empty() ? Json() : GameJson(record.games.back());
  json["performance"] = PerformanceJson(record.performance);
  if (openings) json["openings"] = OpeningsJson(*openings);
  out << JsonText(std::move(json));
}

void PrintText(const HeadToHead& record, const AskedOpenings& openings, std::ostream& out) {
  for (const std::string& line : record.lines) out << line << "\n";
  if (record.games.empty()) return;
  // The last results, each above its date, five to a row: the strip fits 80 columns.
  constexpr size_t kGamesARow = 5;
  const std::vector<PlayedGame> lastTen = LastGames(record, 10);
  const bool colour = ColourOnOutput();
  std::vector<TableRow> strip;
  for (size_t first = 0; first < lastTen.size(); first += kGamesARow) {
    std::string results, dates;
    for (size_t i = first; i < std::min(first + kGamesARow, lastTen.size()); ++i) {
      const std::string date = DateText(lastTen[i].startTime);
      results += ResultText(lastTen[i].result, colour) + std::string(11, ' ');
      dates += date + std::string(12 - std::min<size_t>(date.size(), 11), ' ');
    }
    strip.push_back({first == 0 ? "Last " + std::to_string(lastTen.size()) : "", results});
    strip.push_back({"", dates});
  }
  std::vector<TableRow> rows;
  for (const auto& [label, text] : SummaryRows(record)) {
    rows.push_back({label, text});
    if (label == "Points") rows.insert(rows.end(), strip.begin(), strip.end());
  }
  out << "\n" << AlignedTable(rows);
  if (openings) out << "\n" << OpeningsText(*openings);
}

// Every opponent's name in the record (one game per name is enough to know the names).
std::set<std::string> OpponentNames(const LogView& view) {
  std::set<std::string> names;
  SelectRecord(view, [&names](const Game& game) {
    names.emplace(game.Opponent());
    return false;
  });
  return names;
}

// The record against opponent, letter case aside; else against the one opponent whose name
// begins with it. Throws DataError when several do, naming them, and when none does, suggesting
// the closest: a mistyped name, not a filter that leaves no game. With openings, the games
// opening by opening too (by ECO code).
void PrintScore(const LogView& view, std::string opponent, bool openings, std::ostream& out) {
  std::vector<Game> games;
  bool known = false;
  const auto read = [&] {
    // Only the games against opponent are kept: the record reads no other.
    const PlayerMatcher matcher(opponent);
    games = SelectRecord(
        view,
        [&](const Game& game) {
          if (!matcher.Matches(game)) return false;
          known = true;
          return Accepts(view.filter, game);
        },
        opponent);
  };
  read();
  if (!known) {
    const std::set<std::string> names = OpponentNames(view);
    const std::vector<std::string> beginning = NamesBeginningWith(names, opponent);
    if (beginning.size() > 1) {
      std::string message = "several opponents' names begin with " + PrintableName(opponent) + ":";
      for (const std::string& name : beginning) message += " " + PrintableName(name);
      throw DataError(message + "; name one of them");
    }
    if (beginning.empty()) {
      std::string message =
          "no game against " + PrintableName(opponent) + " in " +
          (view.database ? "the record of " + PrintableName(view.log.user) : view.log.path);
      const std::vector<std::string> closest = ClosestNames(names, opponent, 3);
      for (size_t i = 0; i < closest.size(); ++i) {
        message += (i == 0 ? "; the closest handles: " : ", ") + PrintableName(closest[i]);
      }
      throw DataError(message);
    }
    opponent = beginning.front();
    read();
  }
  const HeadToHead record = HeadToHeadRecord(games, opponent, view.expectation);
  AskedOpenings rows;
  if (openings) rows = OpeningRows(games, OpeningKey::Eco, view.expectation, 1);
  view.json ? PrintJson(record, view.expectation, rows, out) : PrintText(record, rows, out);
}

}  // namespace

void AddScoreCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    std::string opponent;
    bool openings = false;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "score",
      "The record against one opponent: the plug-in's score lines with every line on, the "
      "points the stored ratings predicted (Tessik's table of 32nds of a point: the Elo "
      "expectation of each game's rating difference, rounded), the last ten results, streaks, "
      "the first and last "
      "game, and a performance rating: the average rating of the opponent (over the games "
      "where it is known) plus the rating difference FIDE's table gives for the score in them "
      "(FIDE Rating Regulations, table 8.1.a)");
  command->add_option("OPPONENT", options->opponent, "The opponent's handle, as the log has it")
      ->required();
  command->add_flag("--openings", options->openings,
                    "Then the games against the opponent opening by opening, as the openings "
                    "command gives them by ECO code");
  AddReadingOptions(*command, options->reading, Figures::Expectations);
  command->callback([&place, options] {
    std::cout << ReadLog(place, options->reading, [&](const LogView& view, std::ostream& out) {
      PrintScore(view, options->opponent, options->openings, out);
    });
  });
}

}  // namespace tessik
