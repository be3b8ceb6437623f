#include "support/lichess_stream.h"

namespace tessik {

std::string LichessGame(int n) {
  return "[Event \"Rated Blitz game\"]\n[Site \"https://lichess.org/g" + std::to_string(n) +
         "\"]\n[White \"quietrook\"]\n[Black \"bob\"]\n[Result \"1-0\"]\n[UTCDate "
         "\"2025.03.01\"]\n[UTCTime \"10:00:00\"]\n\n1. e4 1-0\n";
}

std::string LichessGames(int first, int count) {
  std::string stream;
  for (int n = first; n < first + count; ++n) stream += LichessGame(n) + "\n\n";
  return stream;
}

}  // namespace tessik
