#include "cli/openings_table.h"

#include "cli/text_format.h"
#include "reports/score_report.h"
#include "store/handle.h"

namespace tessik {

namespace {

const char* ColourName(const OpeningRow& row) { return row.white ? "white" : "black"; }

}  // namespace

std::string OpeningsText(const std::vector<OpeningRow>& rows) {
  std::vector<TableRow> table = {
      {"Colour", "Opening", "Games", "+", "=", "-", "Score", "Expected"}};
  for (const OpeningRow& row : rows) {
    const std::optional<int> expected = row.ExpectedPercentage();
    table.push_back(
        {ColourName(row), PrintableName(row.opening), std::to_string(row.Games()),
         std::to_string(row.won), std::to_string(row.drawn), std::to_string(row.lost),
         std::to_string(ScorePercentage(row.won, row.drawn, row.lost)) + "%",
         expected ? std::to_string(*expected) + "% of " + std::to_string(row.expectation.games)
                  : "-"});
  }
  return AlignedTable(table, "llrrrrr");
}

Json OpeningsJson(const std::vector<OpeningRow>& rows) {
  Json json = Json::array();
  for (const OpeningRow& row : rows) {
    const std::optional<int> expected = row.ExpectedPercentage();
    json.push_back({{"colour", ColourName(row)},
                    {"opening", row.opening},
                    {"games", row.Games()},
                    {"won", row.won},
                    {"drawn", row.drawn},
                    {"lost", row.lost},
                    {"percentage", ScorePercentage(row.won, row.drawn, row.lost)},
                    {"expected_percentage", expected ? Json(*expected) : Json()},
                    {"expected_games", row.expectation.games}});
  }
  return json;
}

}  // namespace tessik
