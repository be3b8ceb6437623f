#include "support/game_rows.h"

namespace tessik {

std::string WonGame(const std::string& number, const std::string& opponent, const std::string& user,
                    const std::string& result) {
  return "dg 2 15 " + number + " " + user + " " + opponent +
         " 0 Blitz 1 3 0 3 0 1 \"\" 1500 1500 " + number + " \"\" \"\"\ndg 2 16 " + number + " " +
         user + " " + opponent + " " + result + "\n";
}

}  // namespace tessik
