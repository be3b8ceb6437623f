#include "support/game_rows.h"

namespace tessik {

std::string WonGame(const std::string& number, const std::string& opponent) {
  return "dg 2 15 " + number + " ann " + opponent + " 0 Blitz 1 3 0 3 0 1 \"\" 1500 1500 " +
         number + " \"\" \"\"\ndg 2 16 " + number + " ann " + opponent + " 1-0\n";
}

}  // namespace tessik
