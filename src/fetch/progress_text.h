// The words of the progress lines.
#pragma once

#include <cstddef>
#include <string>

namespace tessik {

// "1 game", "57 games".
inline std::string GamesText(size_t count) {
  return std::to_string(count) + (count == 1 ? " game" : " games");
}

}  // namespace tessik
