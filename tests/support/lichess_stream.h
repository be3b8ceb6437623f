// quietrook's games as lichess sends them, for a web server on 127.0.0.1 to answer with.
#pragma once

#include <string>

namespace tessik {

// quietrook's game number n against bob, won with white on 2025-03-01; its link ends in gN.
std::string LichessGame(int n);
// count of those games from number first on, as lichess streams them: two blank lines apart.
std::string LichessGames(int first, int count);

}  // namespace tessik
