#include "session/record_game.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/decimal.h"
#include "base/text.h"
#include "host/game_start_info.h"
#include "session/plugin_app.h"
#include "session/score_output.h"

namespace tessik {

namespace {

// Writes the record at the end of the log, after cutting a torn tail back to whole records,
// and syncs it. An empty log gets a marker first: the first import has not completed, since it
// writes the whole log. O_APPEND: every write lands at the end, wherever the file ends then.
FileCause AppendRecord(const std::string& path, const GameRecord& record) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return errno == ENOENT ? kFileBadPath : FileCauseFromErrno(errno);
  FileCause cause = kFileNone;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    cause = FileCauseFromErrno(errno);
  } else {
    off_t whole = info.st_size - info.st_size % static_cast<off_t>(kGameRecordBytes);
    unsigned char bytes[2 * kGameRecordBytes];
    size_t length = 0;
    if (whole == 0) {
      EncodeGameRecord(ImportPendingMarker(), bytes);
      length = kGameRecordBytes;
    }
    EncodeGameRecord(record, bytes + length);
    length += kGameRecordBytes;
    ssize_t written = -1;
    if (whole != info.st_size && ftruncate(fd, whole) != 0) {
      cause = FileCauseFromErrno(errno);
    } else if ((written = write(fd, bytes, length)) < 0) {
      cause = FileCauseFromErrno(errno);
    } else if (static_cast<size_t>(written) != length) {
      cause = kFileDiskFull;  // the next append cuts the torn record away
    } else if (fsync(fd) != 0) {
      cause = FileCauseFromErrno(errno);
    }
  }
  if (close(fd) != 0 && cause == kFileNone) cause = FileCauseFromErrno(errno);
  return cause;
}

// The opponent's titles: tokens at single spaces, from the left, until an empty one.
void SetTitles(GameRecord& record, std::string_view titles) {
  size_t end = titles.find_last_not_of(" \t\r\n\v\f");
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
  // Counted under the handle as the log keeps it, as the next login will count it.
  if (app.opponentTotals) app.opponentTotals->AddResult(OpponentName(record), record.result + 1);
  app.gameLog.push_back(record);
  if (app.UserFilesAllowed()) {
    const std::string path = app.GameLogPath();
    app.SaveWithRetry([&] { return AppendRecord(path, record); }, "*.glg");
  }
  g_colourFilter = record.userWhite != 0 ? 1 : 2;
  ShowScoreForMatch(app, OpponentName(record), RatingTypeOf(record));
  if (app.mainWindow != nullptr) app.mainWindow->GameLogChanged();
}

}  // namespace tessik
