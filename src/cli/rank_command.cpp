#include <iostream>
#include <memory>
#include <utility>

#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/reading_options.h"
#include "cli/text_format.h"
#include "reports/ranking_reports.h"
#include "reports/score_report.h"
#include "stats/summary_text.h"
#include "stats/surprise.h"
#include "store/handle.h"

namespace tessik {

namespace {

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
    // Once the database adds its servers, a name says whose it is.
    const std::string server = view.database ? " (" + std::string(ServerName(s.server)) + ")" : "";
    rows.push_back({PrintableName(s.opponent) + server, std::to_string(s.games),
                    OneDecimal(s.points), OneDecimal(s.expected),
                    OneDecimal(s.Difference(), true)});
  }
  out << "Against the ratings (at least " << minGames << " games):\n"
      << AlignedTable(rows, "lrrrr");
}

// report: most, best, worst, overall or surprise (with at least minGames games).
void PrintRanking(const LogView& view, const std::string& report, int minGames, std::ostream& out) {
  if (report == "surprise") return PrintSurprise(view, minGames, out);
  // The games are counted as they are read: a report keeps none of them.
  GameCounter counter;
  std::vector<GameRecord> accepted;
  const auto count = [&](std::span<const Game> games) {
    accepted.clear();
    for (const Game& game : games) {
      if (Accepts(view.filter, game)) accepted.push_back(game.record);
    }
    counter.Count(accepted);
  };
  if (!view.database) {
    VisitGames(view.log, count);
  } else {
    count(SelectedGames(view));
  }
  OpponentTotalsList totals;
  counter.AddTo(totals);
  if (!view.json) {
    const ReportLines lines = report == "most"    ? MostGamesReport(totals)
                              : report == "best"  ? BestReport(totals)
                              : report == "worst" ? WorstReport(totals)
                                                  : OverallReport(totals);
    for (const std::string& line : lines) out << line << "\n";
    return;
  }
  Json json = {{"report", report}};
  if (report == "overall") {
    int32_t won = 0, drawn = 0, lost = 0;
    const int opponents = totals.SumAll(won, drawn, lost);
    json.update({{"games", won + drawn + lost},
                 {"opponent_count", opponents},
                 {"won", won},
                 {"drawn", drawn},
                 {"lost", lost},
                 {"percentage", ScorePercentage(won, drawn, lost)}});
  } else {
    const Ranking ranking = report == "most"   ? Ranking::MostGames
                            : report == "best" ? Ranking::Best
                                               : Ranking::Worst;
    json["opponents"] = Json::array();
    for (const OpponentTotals& row : RankOpponents(totals, ranking)) {
      if (row.name.empty()) continue;  // fewer than ten opponents
      json["opponents"].push_back({{"opponent", row.name},
                                   {"games", row.won + row.drawn + row.lost},
                                   {"won", row.won},
                                   {"drawn", row.drawn},
                                   {"lost", row.lost},
                                   {"percentage", ScorePercentage(row.won, row.drawn, row.lost)}});
    }
  }
  out << JsonText(std::move(json));
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
      ->check(CLI::IsMember({"most", "best", "worst", "overall", "surprise"}));
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
