#include <utility>

#include "cli/commands.h"
#include "cli/json_text.h"
#include "stats/game_export.h"

namespace tessik {

void PrintExport(const LogView& view, const std::string& format, std::ostream& out) {
  const std::vector<ExportedGame> games = ExportGames(SelectedGames(view));
  if (format == "csv") {
    out << GamesAsCsv(games);
    return;
  }
  Json rows = Json::array();
  for (const ExportedGame& g : games) {
    rows.push_back({{"start", g.start.empty() ? Json() : Json(g.start)},
                    {"colour", g.colour},
                    {"result", g.result},
                    {"opponent", g.opponent},
                    {"user_rating", g.userRating},
                    {"opponent_rating", g.opponentRating},
                    {"rating_type", g.ratingType},
                    {"initial_minutes", g.initialMinutes ? Json(*g.initialMinutes) : Json()},
                    {"increment_seconds", g.incrementSeconds},
                    {"rated", g.rated},
                    {"pool", g.pool},
                    {"title", g.title},
                    {"woman_title", g.womanTitle},
                    {"computer", g.computer}});
  }
  out << JsonText(std::move(rows));
}

}  // namespace tessik
