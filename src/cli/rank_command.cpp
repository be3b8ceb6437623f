#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

#include "base/text.h"
#include "cli/choice.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/reading_options.h"
#include "cli/text_format.h"
#include "reports/ranking_reports.h"
#include "reports/score_report.h"
#include "stats/opponent_tally.h"
#include "stats/summary_text.h"
#include "stats/surprise.h"
#include "store/handle.h"

namespace tessik {

namespace {

// An opponent as the text names it: once the database adds its servers, with its server.
std::string OpponentText(const LogView& view, const std::string& name, Server server) {
  return view.database ? name + " (" + std::string(ServerName(server)) + ")" : name;
}

// What a ranking prints: which report, how many rows at most, and for surprise the fewest
// games an opponent needs.
struct RankRequest {
  std::string report;  // most, best, worst, overall or surprise
  size_t limit = SIZE_MAX;
  int minGames = 5;
};

void PrintSurprise(const LogView& view, const RankRequest& request, std::ostream& out) {
  SurpriseTally tally(view.expectation);
  if (view.database) {
    // The names are counted in the order of the whole record: the letter case of an opponent's
    // first game names it.
    for (const Game& game : SelectedGames(view))
      tally.Add(game.server, game.Opponent(), game.record);
  } else {
    VisitRecordResults(
        view, {[&tally](std::span<const GameRecord> records) { tally.AddLogGames(records); },
               {},
               [&tally](size_t part, std::span<const GameRecord> records) {
                 tally.AddLogPart(part, records);
               }});
  }
  std::vector<Surprise> ranking = tally.Ranking(request.minGames);
  if (ranking.size() > request.limit) ranking.resize(request.limit);
  if (view.json) {
    Json rows = Json::array();
    for (const Surprise& s : ranking) {
      rows.push_back({{"opponent", s.opponent},
                      {"server", ServerName(s.server)},
                      {"games", s.games},
                      {"points", s.points},
                      {"expected_points", s.expected},
                      {"difference", s.Difference()}});
    }
    out << JsonText(
        {{"report", "surprise"}, {"min_games", request.minGames}, {"opponents", std::move(rows)}});
    return;
  }
  std::vector<TableRow> rows = {{"Opponent", "Games", "Points", "Expected", "Difference"}};
  for (const Surprise& s : ranking) {
    rows.push_back({PrintableName(OpponentText(view, s.opponent, s.server)),
                    std::to_string(s.games), OneDecimal(s.points), OneDecimal(s.expected),
                    OneDecimal(s.Difference(), true)});
  }
  out << "Against the ratings (at least " << GamesText(request.minGames)
      << " with both ratings known):\n"
      << AlignedTable(rows, "lrrrr");
}

// A line under a ranking for the games against anonymous players it leaves out; empty for none.
std::string LeftOutText(const OpponentTallies& tallies) {
  if (tallies.anonymousGames == 0) return "";
  return "Left out: " + GamesText(tallies.anonymousGames) + " against anonymous players\n";
}

void PrintOverall(const LogView& view, const OpponentTallies& tallies, std::ostream& out) {
  int32_t won = 0, drawn = 0, lost = 0;
  for (const OpponentTotals& row : tallies.opponents) {
    won += row.won;
    drawn += row.drawn;
    lost += row.lost;
  }
  const int opponents = static_cast<int>(tallies.opponents.size());
  const int games = won + drawn + lost;
  if (view.json) {
    out << JsonText({{"report", "overall"},
                     {"games", games},
                     {"opponent_count", opponents},
                     {"won", won},
                     {"drawn", drawn},
                     {"lost", lost},
                     {"percentage", ScorePercentage(won, drawn, lost)},
                     {"anonymous_games_left_out", tallies.anonymousGames}});
    return;
  }
  std::vector<TableRow> rows = {{"Games", std::to_string(games)},
                                {"Opponents", std::to_string(opponents)},
                                {"Won", std::to_string(won)},
                                {"Drawn", std::to_string(drawn)},
                                {"Lost", std::to_string(lost)}};
  if (games > 0) rows.push_back({"Score", std::to_string(ScorePercentage(won, drawn, lost)) + "%"});
  out << "Overall score:\n" << AlignedTable(rows, "lr") << LeftOutText(tallies);
}

void PrintRanking(const LogView& view, const RankRequest& request, std::ostream& out) {
  if (request.report == "surprise") return PrintSurprise(view, request, out);
  // The games are counted as they are read: a report keeps none of them.
  OpponentTally tally;
  VisitRecordResults(view,
                     {[&tally](std::span<const GameRecord> records) { tally.AddLogGames(records); },
                      [&tally](Server server, std::string_view opponent, const GameRecord& record) {
                        tally.Add(server, opponent, record);
                      },
                      [&tally](size_t part, std::span<const GameRecord> records) {
                        tally.AddLogPart(part, records);
                      }});
  const OpponentTallies tallies = tally.Tallies();
  if (request.report == "overall") return PrintOverall(view, tallies, out);
  const Ranking ranking = request.report == "most"   ? Ranking::MostGames
                          : request.report == "best" ? Ranking::Best
                                                     : Ranking::Worst;
  const std::vector<size_t> places = RankPlaces(tallies.opponents, ranking, request.limit);
  if (view.json) {
    Json rows = Json::array();
    for (const size_t place : places) {
      const OpponentTotals& row = tallies.opponents[place];
      rows.push_back({{"opponent", row.name},
                      {"server", ServerName(tallies.servers[place])},
                      {"games", row.won + row.drawn + row.lost},
                      {"won", row.won},
                      {"drawn", row.drawn},
                      {"lost", row.lost},
                      {"percentage", ScorePercentage(row.won, row.drawn, row.lost)}});
    }
    out << JsonText({{"report", request.report},
                     {"opponents", std::move(rows)},
                     {"anonymous_games_left_out", tallies.anonymousGames}});
    return;
  }
  std::vector<TableRow> rows = {{"Opponent", "Games", "+", "=", "-", "Score"}};
  for (const size_t place : places) {
    const OpponentTotals& row = tallies.opponents[place];
    rows.push_back({PrintableName(OpponentText(view, row.name, tallies.servers[place])),
                    std::to_string(row.won + row.drawn + row.lost), std::to_string(row.won),
                    std::to_string(row.drawn), std::to_string(row.lost),
                    std::to_string(ScorePercentage(row.won, row.drawn, row.lost)) + "%"});
  }
  out << (ranking == Ranking::MostGames ? "Most games against:\n"
          : ranking == Ranking::Best    ? "Best:\n"
                                        : "Worst:\n")
      << AlignedTable(rows, "lrrrrr") << LeftOutText(tallies);
}

}  // namespace

void AddRankCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    RankRequest request;
    std::optional<size_t> limit;
    bool all = false;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "rank",
      "Opponents ranked: most (games), best, worst and overall, as the plug-in's window ranks "
      "them; surprise: by the points scored minus the points the ratings predicted");
  command->add_option("REPORT", options->request.report, "most, best, worst, overall or surprise")
      ->required()
      ->transform(OneOfNames({"most", "best", "worst", "overall", "surprise"}));
  command
      ->add_option("--min-games", options->request.minGames,
                   "surprise: only opponents with this many games")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  auto* limit = command
                    ->add_option("--limit", options->limit,
                                 "At most this many opponents (most, best and worst: 10 unless "
                                 "set; surprise: every one)")
                    ->check(CLI::PositiveNumber);
  command->add_flag("--all", options->all, "Every opponent ranked")->excludes(limit);
  AddReadingOptions(*command, options->reading, Figures::Expectations);
  command->callback([&place, options] {
    RankRequest request = options->request;
    const bool ten = request.report != "surprise" && !options->all;
    request.limit = options->limit.value_or(ten ? 10 : SIZE_MAX);
    std::cout << ReadLog(place, options->reading, [&](const LogView& view, std::ostream& out) {
      PrintRanking(view, request, out);
    });
  });
}

}  // namespace tessik
