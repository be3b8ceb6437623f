#include "stats/game.h"

#include <algorithm>
#include <iterator>

namespace tessik {

namespace {

constexpr std::string_view kServerNames[] = {"kesh", "lichess", "chesscom", "pgn"};

}  // namespace

const GameLabels GameDetails::kNoLabels;

std::string_view ServerName(Server server) { return kServerNames[static_cast<size_t>(server)]; }

bool IsAnonymousPlayer(Server server, std::string_view name) {
  return server == Server::Lichess && name == "Anonymous";
}

std::optional<Server> ServerNamed(std::string_view name) {
  const auto found = std::find(std::begin(kServerNames), std::end(kServerNames), name);
  if (found == std::end(kServerNames)) return std::nullopt;
  return static_cast<Server>(found - std::begin(kServerNames));
}

std::vector<Game> GamesOfLog(const std::vector<GameRecord>& log) {
  std::vector<Game> games;
  games.reserve(log.empty() ? 0 : log.size() - 1);
  for (size_t i = 1; i < log.size(); ++i) games.push_back(GameOfRecord(log[i]));
  return games;
}

}  // namespace tessik
