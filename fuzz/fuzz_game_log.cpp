// The game-log loader on any bytes, and what a login does with what it loaded.
#include "reports/score_report.h"
#include "scratch_directory.h"
#include "session/plugin_app.h"
#include "session/score_output.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  tessik::CPluginApp app;
  app.dataDirectory = ScratchDirectory() + "tessik/";
  app.userName = "ann";
  WriteBytes(app.GameLogPath(), data, size);
  app.opponentTotals = std::make_unique<tessik::OpponentTotalsList>();
  if (app.LoadGameLog() == tessik::GameLogState::CurrentLog) app.RebuildTotals();
  for (const tessik::GameRecord& record : app.gameLog) tessik::RatingTypeOf(record);
  if (app.gameLog.size() > 1) {
    tessik::ShowScoreForLookup(app, tessik::OpponentName(app.gameLog[1]));
  }
  return 0;
}
