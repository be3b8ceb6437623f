#include <iostream>
#include <memory>
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

void PrintSurprise(const LogView& view, int minGames, std::ostream& out) {
  const std::vector<Surprise> ranking = SurpriseRanking(SelectedGames(view), minGames);
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
        {{"report", "surprise"}, {"min_games", minGames}, {"opponents", std::move(rows)}});
    return;
  }
  std::vector<TableRow> rows = {{"Opponent", "Games", "Points", "Expected", "Difference"}};
  for (const Surprise& s : ranking) {
    rows.push_back({PrintableName(OpponentText(view, s.opponent, s.server)),
                    std::to_string(s.games), OneDecimal(s.points), OneDecimal(s.expected),
                    OneDecimal(s.Difference(), true)});
  }
  out << "Against the ratings (at least " << GamesText(minGames) << "):\n"
      << AlignedTable(rows, "lrrrr");
}

// report: most, best, worst, overall or surprise (with at least minGames games).
void PrintRanking(const LogView& view, const std::string& report, int minGames, std::ostream& out) {
  if (report == "surprise") return PrintSurprise(view, minGames, out);
  // The games are counted as they are read: a report keeps none of them.
  OpponentTally tally;
  VisitRecordResults(view,
                     [&tally](Server server, std::string_view opponent, const GameRecord& record) {
                       tally.Add(server, opponent, record);
                     });
  const OpponentTallies tallies = tally.Tallies();
  if (report == "overall") {
    int32_t won = 0, drawn = 0, lost = 0;
    for (const OpponentTotals& row : tallies.opponents) {
      won += row.won;
      drawn += row.drawn;
      lost += row.lost;
    }
    const int opponents = static_cast<int>(tallies.opponents.size());
    if (!view.json) {
      for (const std::string& line : OverallLines(opponents, won, drawn, lost)) out << line << "\n";
      return;
    }
    out << JsonText({{"report", report},
                     {"games", won + drawn + lost},
                     {"opponent_count", opponents},
                     {"won", won},
                     {"drawn", drawn},
                     {"lost", lost},
                     {"percentage", ScorePercentage(won, drawn, lost)}});
    return;
  }
  const Ranking ranking = report == "most"   ? Ranking::MostGames
                          : report == "best" ? Ranking::Best
                                             : Ranking::Worst;
  const RankedPlaces places = RankPlaces(tallies.opponents, ranking);
  if (!view.json) {
    RankedRows rows;
    for (size_t row = 0; row < rows.size(); ++row) {
      if (places[row] < 0) continue;  // fewer than ten opponents
      const auto place = static_cast<size_t>(places[row]);
      rows[row] = tallies.opponents[place];
      rows[row].name = OpponentText(view, rows[row].name, tallies.servers[place]);
    }
    for (const std::string& line : RankingLines(ranking, rows)) out << line << "\n";
    return;
  }
  Json rows = Json::array();
  for (const int place : places) {
    if (place < 0) continue;  // fewer than ten opponents
    const OpponentTotals& row = tallies.opponents[static_cast<size_t>(place)];
    rows.push_back({{"opponent", row.name},
                    {"server", ServerName(tallies.servers[static_cast<size_t>(place)])},
                    {"games", row.won + row.drawn + row.lost},
                    {"won", row.won},
                    {"drawn", row.drawn},
                    {"lost", row.lost},
                    {"percentage", ScorePercentage(row.won, row.drawn, row.lost)}});
  }
  out << JsonText({{"report", report}, {"opponents", std::move(rows)}});
}

}  // namespace

void AddRankCommand(CLI::App& app, const LogPlace& place) {
  struct Options {
    std::string report;
    int minGames = 5;
    ReadingOptions reading;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "rank",
      "Opponents ranked: most (games), best, worst and overall, as the plug-in's window shows "
      "them; surprise: by the points scored minus the points the ratings predicted");
  command->add_option("REPORT", options->report, "most, best, worst, overall or surprise")
      ->required()
      ->transform(OneOfNames({"most", "best", "worst", "overall", "surprise"}));
  command
      ->add_option("--min-games", options->minGames,
                   "surprise: only opponents with this many games")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  AddReadingOptions(*command, options->reading);
  command->callback([&place, options] {
    std::cout << ReadLog(place, options->reading, [&](const LogView& view, std::ostream& out) {
      PrintRanking(view, options->report, options->minGames, out);
    });
  });
}

}  // namespace tessik
