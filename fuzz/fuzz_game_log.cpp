// The game-log loader on any bytes, fed from memory along the path a file's bytes take, and
// what a login does with what it loaded.
#include <string_view>

#include "reports/score_report.h"
#include "session/plugin_app.h"
#include "session/score_output.h"
#include "store/game_log_file.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  tessik::CPluginApp app;
  app.userName = "ann";
  app.opponentTotals = std::make_unique<tessik::OpponentTotalsList>();
  const std::string_view log(reinterpret_cast<const char*>(data), size);
  if (app.TakeGameLog(tessik::ReadGameLog(tessik::ByteSource(log), app.gameLog)) ==
      tessik::GameLogState::CurrentLog) {
    app.RebuildTotals();
  }
  for (const tessik::GameRecord& record : app.gameLog) tessik::RatingTypeOf(record);
  if (app.gameLog.size() > 1) {
    tessik::ShowScoreForLookup(app, tessik::OpponentName(app.gameLog[1]));
  }
  return 0;
}
