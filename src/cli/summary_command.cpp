#include <functional>
#include <iostream>
#include <memory>
#include <span>
#include <utility>

#include "base/text.h"
#include "cli/commands.h"
#include "cli/figures_json.h"
#include "cli/json_text.h"
#include "cli/reading_options.h"
#include "cli/text_format.h"
#include "stats/pool_summary.h"
#include "stats/summary_text.h"
#include "stats/time_of_day.h"
#include "stats/utc_time.h"
#include "store/handle.h"

namespace tessik {

namespace {

// A start's date, null when unknown.
Json DateJson(int64_t start) { return start == kUnknownStartTime ? Json() : Json(DateText(start)); }

Json RatingJson(const std::optional<DatedRating>& rating) {
  if (!rating) return Json();
  return {{"rating", rating->rating}, {"date", DateJson(rating->start)}};
}

Json NotableJson(const std::vector<NotableGame>& games) {
  Json list = Json::array();
  for (const NotableGame& game : games) {
    list.push_back({{"date", DateJson(game.start)},
                    {"opponent", game.opponent},
                    {"opponent_rating", game.opponentRating},
                    {"link", game.link.empty() ? Json() : Json(game.link)}});
  }
  return list;
}

Json PoolJson(const PoolSummary& summary) {
  Json json = {{"pool", summary.pool}};
  json.update(CountsJson(summary.counts));
  json["peak"] = RatingJson(summary.peak);
  json["lowest"] = RatingJson(summary.lowest);
  json["streaks"] = StreaksJson(summary.streaks);
  json["best_wins"] = NotableJson(summary.bestWins);
  json["worst_losses"] = NotableJson(summary.worstLosses);
  json["months"] = Json::array();
  for (const MonthChange& month : summary.months) {
    json["months"].push_back({{"month", month.month},
                              {"rating_before", month.before},
                              {"rating_after", month.after},
                              {"change", month.after - month.before}});
  }
  json["performance_by_year"] = Json::array();
  for (const YearPerformance& year : summary.years) {
    json["performance_by_year"].push_back(
        {{"year", year.year}, {"performance", PerformanceJson(year.performance)}});
  }
  json["usual_clock"] = Json();
  if (const auto& usual = summary.usualClock) {
    json["usual_clock"] = {{"clock", ClockText(usual->clock)}, {"games", usual->games}};
  }
  json["endings"] = Json::array();
  for (const EndingCount& ending : summary.endings) {
    Json row = {{"ending", EndingName(ending.ending)}};
    row.update(CountsJson(ending.counts));
    json["endings"].push_back(std::move(row));
  }
  return json;
}

// The hours or days with games, each named under key by what name gives for its index, with
// its results.
Json TimesJson(std::span<const ScoreCounts> counts, const char* key,
               const std::function<Json(int)>& name) {
  Json list = Json::array();
  for (size_t i = 0; i < counts.size(); ++i) {
    if (counts[i].Games() == 0) continue;
    Json row = {{key, name(static_cast<int>(i))}};
    row.update(CountsJson(counts[i]));
    list.push_back(std::move(row));
  }
  return list;
}

void PrintJson(const std::vector<PoolSummary>& pools, const TimeOfDayResults& times,
               std::ostream& out) {
  Json json = {{"pools", Json::array()}};
  for (const PoolSummary& pool : pools) json["pools"].push_back(PoolJson(pool));
  json["by_hour"] = TimesJson(times.hours, "hour", [](int hour) { return Json(hour); });
  json["by_weekday"] =
      TimesJson(times.weekdays, "weekday", [](int day) { return Json(WeekdayName(day)); });
  out << JsonText(std::move(json));
}

// "+2 =0 -1 (67%)".
std::string ResultsText(const ScoreCounts& c) {
  return "+" + std::to_string(c.won) + " =" + std::to_string(c.drawn) + " -" +
         std::to_string(c.lost) + " (" + std::to_string(ScorePercentage(c.won, c.drawn, c.lost)) +
         "%)";
}

// The cells of a row of results: games, won, drawn, lost and the score.
TableRow ResultCells(std::string label, const ScoreCounts& c) {
  return {std::move(label),       std::to_string(c.Games()),
          std::to_string(c.won),  std::to_string(c.drawn),
          std::to_string(c.lost), std::to_string(ScorePercentage(c.won, c.drawn, c.lost)) + "%"};
}

std::string DatedText(const DatedRating& rating) {
  return std::to_string(rating.rating) + " on " + DateText(rating.start);
}

// The wins or losses under label, each with its opponent's rating, date and opponent, and the
// link below the opponent: a link beside a long name would not fit 80 columns.
void AddNotableRows(const std::string& label, const std::vector<NotableGame>& games,
                    std::vector<TableRow>& rows) {
  for (size_t i = 0; i < games.size(); ++i) {
    const NotableGame& game = games[i];
    rows.push_back({i == 0 ? label : "", std::to_string(game.opponentRating), DateText(game.start),
                    PrintableName(game.opponent)});
    if (!game.link.empty()) rows.push_back({"", "", "", PrintableName(game.link)});
  }
}

void PrintPool(const PoolSummary& pool, std::ostream& out) {
  out << PrintableName(pool.pool) << ": " << GamesText(pool.counts.Games()) << ", "
      << ResultsText(pool.counts) << "\n";
  std::vector<TableRow> rows;
  if (pool.peak) rows.push_back({"Peak rating", DatedText(*pool.peak)});
  if (pool.lowest) rows.push_back({"Lowest rating", DatedText(*pool.lowest)});
  rows.push_back({"Streak", StreakText(pool.streaks)});
  if (const auto& usual = pool.usualClock) {
    rows.push_back({"Usual clock", ClockText(usual->clock) + ", " + std::to_string(usual->games) +
                                       " of " + GamesText(pool.counts.Games())});
  }
  for (const YearPerformance& year : pool.years) {
    rows.push_back({"Performance " + std::to_string(year.year),
                    year.performance ? PerformanceText(*year.performance)
                                     : "unknown: no opponent's rating known"});
  }
  out << AlignedTable(rows);

  if (!pool.bestWins.empty() || !pool.worstLosses.empty()) {
    std::vector<TableRow> notable = {{"", "Rating", "Date", "Opponent"}};
    AddNotableRows("Best wins", pool.bestWins, notable);
    AddNotableRows("Worst losses", pool.worstLosses, notable);
    out << "\n" << AlignedTable(notable, "lr");
  }
  if (!pool.months.empty()) {
    std::vector<TableRow> months = {{"Month", "Before", "After", "Change"}};
    for (const MonthChange& month : pool.months) {
      const int change = month.after - month.before;
      months.push_back({month.month, std::to_string(month.before), std::to_string(month.after),
                        (change >= 0 ? "+" : "") + std::to_string(change)});
    }
    out << "\n" << AlignedTable(months, "lrrr");
  }
  std::vector<TableRow> endings = {{"Ended by", "Games", "+", "=", "-", "Score"}};
  for (const EndingCount& ending : pool.endings) {
    endings.push_back(ResultCells(std::string(EndingName(ending.ending)), ending.counts));
  }
  out << "\n" << AlignedTable(endings, "lrrrrr");
}

void PrintText(const std::vector<PoolSummary>& pools, const TimeOfDayResults& times, bool utc,
               std::ostream& out) {
  for (const PoolSummary& pool : pools) {
    PrintPool(pool, out);
    out << "\n";
  }
  out << "By the hour and the day the games began, " << (utc ? "UTC" : "local time") << ":\n";
  std::vector<TableRow> hours = {{"Hour", "Games", "+", "=", "-", "Score"}};
  for (int hour = 0; hour < 24; ++hour) {
    if (times.hours[hour].Games() == 0) continue;
    hours.push_back(ResultCells((hour < 10 ? "0" : "") + std::to_string(hour), times.hours[hour]));
  }
  std::vector<TableRow> weekdays = {{"Day", "Games", "+", "=", "-", "Score"}};
  for (int day = 0; day < 7; ++day) {
    if (times.weekdays[day].Games() == 0) continue;
    weekdays.push_back(ResultCells(std::string(WeekdayName(day)), times.weekdays[day]));
  }
  out << AlignedTable(hours, "lrrrrr") << "\n" << AlignedTable(weekdays, "lrrrrr");
}

void PrintSummary(const LogView& view, bool utc, std::ostream& out) {
  const std::vector<Game> games = SelectedGames(view);
  const std::vector<PoolSummary> pools = PoolSummaries(games);
  const TimeOfDayResults times = ResultsByTimeOfDay(games, utc);
  if (view.json) {
    PrintJson(pools, times, out);
  } else if (games.empty()) {
    out << "No game to summarise.\n";
  } else {
    PrintText(pools, times, utc, out);
  }
}

}  // namespace

void AddSummaryCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    bool utc = false;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "summary",
      "Rating pool by rating pool: games and score, the peak and lowest rating, streaks, the "
      "best wins and worst losses by the opponent's rating, the rating won or lost each month, "
      "the performance each year, the usual clock and how the games ended; then the results by "
      "the hour and the day of the week the games began");
  command->add_flag("--utc", options->utc,
                    "Hours and days in UTC instead of the local time zone (TZ)");
  AddReadingOptions(*command, options->reading);
  command->callback([&place, options] {
    std::cout << ReadLog(place, options->reading, [&](const LogView& view, std::ostream& out) {
      PrintSummary(view, options->utc, out);
    });
  });
}

}  // namespace tessik
