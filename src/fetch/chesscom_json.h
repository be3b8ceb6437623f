// Reading chess.com's two JSON answers: the list of an account's months, and a month's games.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fetch/online_fetch.h"

namespace tessik {

// The months of {"archives":[URL,...]}, each as its URL ends ("2025/03"), oldest first, each
// once; nullopt when the text is not such a list (a URL that does not end in a month included).
std::optional<std::vector<std::string>> ArchiveMonths(std::string_view json);

// The games of {"games":[{"pgn":…,"time_class":…,"rules":…,"url":…},...]}; nullopt when the
// text is not such a month (a game without its PGN included). The three last members may be
// missing.
std::optional<std::vector<FetchedGame>> MonthGames(std::string_view json);

}  // namespace tessik
