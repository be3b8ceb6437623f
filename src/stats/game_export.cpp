#include "stats/game_export.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "stats/archive_game.h"
#include "stats/game_filter.h"
#include "stats/utc_time.h"
#include "store/handle.h"

namespace tessik {

namespace {

// Title codes: 0 none, 1 unknown, 4 to 7 the titles in this order.
std::string TitleName(uint8_t code, const char* const (&titles)[4]) {
  if (code == 1) return "?";
  return code >= 4 && code <= 7 ? titles[code - 4] : "";
}

std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// A text field, never a formula: a spreadsheet runs a field that begins with =, +, - or @, and
// some drop a leading tab or carriage return before they look. Such a field gets a leading
// apostrophe, which makes it text. Numbers are no text fields: a rating of -5 stays a number.
std::string TextField(std::string text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
    text.insert(0, 1, '\'');
  }
  return CsvField(text);
}

}  // namespace

std::vector<ExportedGame> ExportGames(std::span<const Game> games) {
  static const char* const kTitles[4] = {"CM", "FM", "IM", "GM"};
  static const char* const kWomanTitles[4] = {"WCM", "WIM", "WFM", "WGM"};
  std::vector<ExportedGame> exported;
  for (const Game& game : games) {
    const GameRecord& r = game.record;
    exported.push_back(
        {IsoText(game.Start()), r.userWhite != 0 ? "white" : "black",
         r.result == kUserWon ? "won"
         : r.result == kDraw  ? "drawn"
                              : "lost",
         std::string(game.Opponent()), r.userRating, r.opponentRating,
         std::string(RatingTypeName(RatingTypeOf(r))),
         r.initialMinutes == kNoClockMinutes ? std::nullopt : std::optional<int>(r.initialMinutes),
         r.incrementSeconds, r.rated != 0, r.pool == 1 || r.pool == 2, TitleName(r.title, kTitles),
         TitleName(r.womanTitle, kWomanTitles), r.computer != 0});
  }
  return exported;
}

std::string GamesAsCsv(const std::vector<ExportedGame>& games) {
  std::string csv =
      "start,colour,result,opponent,user_rating,opponent_rating,rating_type,initial_minutes,"
      "increment_seconds,rated,pool,title,woman_title,computer\r\n";
  auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
  for (const ExportedGame& g : games) {
    // The name in caret notation, as every line the program prints has it: no control byte
    // reaches the file, and a line feed in a name cannot split its row.
    const std::string fields[] = {TextField(g.start),
                                  TextField(g.colour),
                                  TextField(g.result),
                                  TextField(PrintableName(g.opponent)),
                                  std::to_string(g.userRating),
                                  std::to_string(g.opponentRating),
                                  TextField(g.ratingType),
                                  g.initialMinutes ? std::to_string(*g.initialMinutes) : "",
                                  std::to_string(g.incrementSeconds),
                                  flag(g.rated),
                                  flag(g.pool),
                                  TextField(g.title),
                                  TextField(g.womanTitle),
                                  flag(g.computer)};
    const char* separator = "";
    for (const std::string& field : fields) csv += std::exchange(separator, ",") + field;
    csv += "\r\n";
  }
  return csv;
}

}  // namespace tessik
