// One finished game as stored in the game log: 40 bytes, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/rating_type.h"

namespace tessik {

inline constexpr size_t kGameRecordBytes = 40;
inline constexpr size_t kOpponentBytes = 16;   // at most 15 characters and a NUL
inline constexpr size_t kOpponentOffset = 22;  // where the field lies in a record's 40 bytes
inline constexpr uint8_t kOriginLive = 12;
inline constexpr std::string_view kMarkerName = "***tessik***";

// Results seen from the user; result + 1 indexes won, drawn, lost.
inline constexpr int8_t kUserWon = -1;
inline constexpr int8_t kDraw = 0;
inline constexpr int8_t kUserLost = 1;
inline constexpr int8_t kMarkerResult = -2;

// The start time of a game whose date is not known (or not held by 32 bits).
inline constexpr int32_t kUnknownStartTime = -1;

struct GameRecord {
  uint8_t wild = 0;    // variant number; 0 ordinary chess
  uint8_t origin = 0;  // 12 live from the server; 0 imported, converted, marker
  uint16_t reserved = 0;
  int32_t initialMinutes = 0;
  uint8_t incrementSeconds = 0;
  uint8_t rated = 0;       // 1 bit
  uint8_t userWhite = 0;   // 1 bit
  int8_t result = 0;       // 2 bits, two's complement: -1 won, 0 draw, 1 lost, -2 marker
  uint8_t title = 0;       // 3 bits: 0 none, 1 unknown, 4 CM, 5 FM, 6 IM, 7 GM
  uint8_t womanTitle = 0;  // 3 bits: 0 none, 1 unknown, 4 WCM, 5 WIM, 6 WFM, 7 WGM
  uint8_t computer = 0;    // 1 bit
  uint8_t pool = 0;        // 2 bits: 1 and 2 a pool game, 0 and 3 not
  int32_t gameKey = 0;
  int32_t startTime = 0;  // seconds since 1970-01-01 00:00 UTC
  int16_t userRating = 0;
  char opponent[kOpponentBytes] = {};
  int16_t opponentRating = 0;
};

// The titles a record knows, each with the field and the code it sets; "C" marks a computer.
struct TitleCode {
  std::string_view text;
  uint8_t GameRecord::*field;
  uint8_t code;
};
inline constexpr TitleCode kTitleCodes[] = {
    {"GM", &GameRecord::title, 7},       {"IM", &GameRecord::title, 6},
    {"FM", &GameRecord::title, 5},       {"CM", &GameRecord::title, 4},
    {"WGM", &GameRecord::womanTitle, 7}, {"WFM", &GameRecord::womanTitle, 6},
    {"WIM", &GameRecord::womanTitle, 5}, {"WCM", &GameRecord::womanTitle, 4},
    {"C", &GameRecord::computer, 1},
};

void EncodeGameRecord(const GameRecord& record, unsigned char* out);
GameRecord DecodeGameRecord(const unsigned char* in);
// Decodes count records, one after the other, behind the end of out.
void DecodeGameRecords(const unsigned char* in, size_t count, std::vector<GameRecord>& out);

// The whole log as its file holds it: every record, 40 bytes each, in order.
std::string EncodeGameLog(const std::vector<GameRecord>& records);

// The same bytes a batch of records at a time, for a write in pieces: each call gives the next
// batch, then an empty piece. A large log is then never held twice, as records and as bytes.
class GameLogPieces {
 public:
  explicit GameLogPieces(const std::vector<GameRecord>& records) : records_(&records) {}
  std::string_view operator()();

 private:
  const std::vector<GameRecord>* records_;  // must outlive the pieces
  size_t next_ = 0;
  std::string batch_;
};

// Record 0 of every log of the current format.
GameRecord MarkerRecord();
// The marker of a log begun by games played live before the first import completed: its
// origin is that of a live game. Every login imports the past games until one completes.
GameRecord ImportPendingMarker();
bool AwaitsFirstImport(const GameRecord& marker);
// Whether the record holds a game's result: the marker and a damaged record do not.
inline bool HasResult(const GameRecord& record) {
  return record.result >= kUserWon && record.result <= kUserLost;
}
// Whether the record's opponent begins with the marker's name.
bool HoldsMarker(const GameRecord& record);

// A handle as the log keeps it: its first 15 characters. Totals and look-ups use it too, so that
// a longer handle is one opponent everywhere.
std::string_view StoredHandle(std::string_view handle);

// The opponent's handle, up to the first NUL of the field.
std::string_view OpponentName(const GameRecord& record);
// Stores at most 15 characters, padded with NUL bytes.
void SetOpponent(GameRecord& record, std::string_view name);

// The plug-in's data folder in its working directory: <workingDirectory>/tessik/.
std::string DataDirectoryOf(std::string_view workingDirectory);
// The name of the user's game log in the data folder: <userName>.glg.
std::string GameLogName(std::string_view userName);
// The user's game log: <dataDirectory><userName>.glg.
std::string GameLogPath(std::string_view dataDirectory, std::string_view userName);

// A result text seen from White: -1 "1-0", 0 "1/2-1/2", 1 "0-1"; kNoResult for any other text.
inline constexpr int32_t kNoResult = 2;
int32_t ResultFromWhite(std::string_view text);

// The game's expected length in the server's measure: 3 × minutes + 2 × increment.
int64_t ExpectedDuration(const GameRecord& record);
// The clock of a fixed-time pool: 1, 5 or 15 minutes and no increment.
bool HasPoolClock(const GameRecord& record);

// Variants whose games the log leaves out (live and imported alike).
bool IsUnrecordedVariant(uint8_t wild);

// The rating type of a stored game: one flag, never 0.
RatingType RatingTypeOf(const GameRecord& record);

}  // namespace tessik
