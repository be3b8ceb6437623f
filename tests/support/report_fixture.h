// A logged-in session whose score lines land in the fake window's output box only.
#pragma once

#include <string>
#include <vector>

#include "store/rating_type.h"
#include "support/session_fixture.h"

namespace tessik {

class ReportFixture : public SessionFixture {
 protected:
  void SetUp() override;

  // Adds a game against opponent to the log (and to the totals): result -1 won, 0 draw,
  // 1 lost; the clock gives the rating type (3 minutes: blitz, 1 minute: bullet).
  void AddGame(const std::string& opponent, int8_t result, bool white = true, int minutes = 3,
               int16_t userRating = 1500, int16_t opponentRating = 1500);
  // The output box's lines since the last call.
  std::vector<std::string> Printed();
};

}  // namespace tessik
