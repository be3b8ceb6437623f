#include "session/record_game.h"

#include "base/decimal.h"
#include "base/text.h"
#include "host/game_start_info.h"
#include "session/plugin_app.h"
#include "session/score_output.h"

namespace tessik {

namespace {

// The opponent's titles: tokens at single spaces, from the left, until an empty one.
void SetTitles(GameRecord& record, std::string_view titles) {
  size_t end = titles.find_last_not_of(kWhiteSpace);
  titles = end == std::string_view::npos ? std::string_view() : titles.substr(0, end + 1);
  while (!titles.empty()) {
    size_t space = titles.find(' ');
    std::string_view token = titles.substr(0, space);
    if (token.empty()) break;
    for (const TitleCode& title : kTitleCodes) {
      if (CompareNoCase(token, title.text) == 0) record.*title.field = title.code;
    }
    if (space == std::string_view::npos) break;
    titles.remove_prefix(space + 1);
  }
}

GameRecord BuildRecord(const GameStartInfo& game) {
  GameRecord record;
  record.wild = static_cast<uint8_t>(ParseDecimal(game.wildNumber));
  record.origin = kOriginLive;
  record.initialMinutes = ParseDecimal(game.ownInitialTime);
  record.incrementSeconds = static_cast<uint8_t>(ParseDecimal(game.ownIncrement));
  record.rated = game.ratedText == "0" ? 0 : 1;
  record.userWhite = game.userHadWhite != 0 ? 1 : 0;
  record.result = static_cast<int8_t>(game.gameResult);
  SetTitles(record, game.opponentTitles);
  const std::string& type = game.ratingTypeName;
  record.pool = type == "5-minute" || type == "1-minute" || type == "15-minute" ? 1 : 0;
  record.gameKey = ParseDecimal(game.gameKeyText);
  record.startTime = game.gameStartTime;
  record.userRating = static_cast<int16_t>(ParseDecimal(game.ownRating));
  record.opponentRating = static_cast<int16_t>(ParseDecimal(game.opponentRatingText));
  SetOpponent(record, game.opponentName);
  return record;
}

}  // namespace

void RecordFinishedGame(CPluginApp& app) {
  GameStartInfo& game = g_gameStartInfo;
  if (IsUnrecordedVariant(static_cast<uint8_t>(ParseDecimal(game.wildNumber)))) return;
  if (game.userHadWhite == 0) game.gameResult = -game.gameResult;
  GameRecord record = BuildRecord(game);
  app.gameLog.push_back(record);
  if (app.UserFilesAllowed()) {
    // The totals count the game once it is in the log, read back from there with whatever
    // another session of the user added meanwhile.
    ++app.unsavedGames;
    app.SaveUnsavedGames(true, false);
    app.RefreshGameLog();
  } else if (app.opponentTotals) {
    // Counted under the handle as the log keeps it, as the next login will count it.
    app.opponentTotals->AddResult(OpponentName(record), record.result + 1);
  }
  g_colourFilter = record.userWhite != 0 ? 1 : 2;
  ShowScoreForMatch(app, OpponentName(record), RatingTypeOf(record));
}

}  // namespace tessik
