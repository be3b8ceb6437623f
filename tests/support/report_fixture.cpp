#include "support/report_fixture.h"

#include "session/settings.h"

namespace tessik {

void ReportFixture::SetUp() {
  SessionFixture::SetUp();
  app.userName = "ann";
  app.opponentTotals = std::make_unique<OpponentTotalsList>();
  app.gameLog.assign(1, MarkerRecord());
  settings.showStatsInPlugin = 1;
  settings.showStatsInVexmoor = 0;
}

void ReportFixture::AddGame(const std::string& opponent, int8_t result, bool white, int minutes,
                            int16_t userRating, int16_t opponentRating) {
  GameRecord record;
  SetOpponent(record, opponent);
  record.result = result;
  record.userWhite = white ? 1 : 0;
  record.initialMinutes = minutes;
  record.userRating = userRating;
  record.opponentRating = opponentRating;
  app.gameLog.push_back(record);
  app.opponentTotals->AddResult(opponent, result + 1);
}

std::vector<std::string> ReportFixture::Printed() {
  std::vector<std::string> lines;
  size_t start = 0;
  while (!window.text.empty()) {
    size_t end = window.text.find("\r\n", start);
    lines.push_back(window.text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  window.text.clear();
  return lines;
}

}  // namespace tessik
