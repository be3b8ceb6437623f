#include "import/pgn_game.h"

#include "host/decimal.h"
#include "import/pgn_text.h"

namespace tessik {

namespace {

constexpr std::string_view kTagNames[kTagCount] = {"Date",   "Time",      "White",    "Black",
                                                   "Result", "WhiteElo",  "BlackElo", "TimeControl",
                                                   "Event",  "KeshResult"};

bool IsUnrecordedVariant(uint8_t wild) {
  return wild == 6 || (wild >= 10 && wild <= 15) || wild == 19 || wild == 20 || wild == 24;
}

// "Result" as the server's own wording settles a game that ended without one.
std::string SettledResult(const PgnTags& tags) {
  const std::string& result = tags[kTagResult];
  if (result != "*") return result;
  const std::string& wording = tags[kTagKeshResult];
  if (wording == "Black forfeits on time") return "1-0";
  if (wording == "White forfeits on time") return "0-1";
  if (wording == "Black ran out of time and White has no material to mate" ||
      wording == "White ran out of time and Black has no material to mate") {
    return "1/2-1/2";
  }
  return result;
}

// The integers of the tokens of text, split at delimiter, into the given places.
void Numbers(std::string_view text, char delimiter, std::initializer_list<int*> places) {
  size_t position = 0;
  std::string_view token;
  for (int* place : places)
    *place = NextToken(text, position, delimiter, token) ? ParseDecimal(token) : 0;
}

}  // namespace

void PgnTags::Take(std::string_view name, std::string_view value) {
  for (int tag = 0; tag < kTagCount; ++tag) {
    if (kTagNames[tag] == name) values[tag] = value;
  }
}

int32_t StartTimes::Convert(int year, int month, int day, int hour, int minute, int second) {
  if (!known_ || year != year_ || month != month_ || day != day_ || hour != hour_) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_isdst = -1;
    hourStart_ = std::mktime(&local);
    known_ = true;
    year_ = year, month_ = month, day_ = day, hour_ = hour;
  }
  if (hourStart_ == static_cast<std::time_t>(-1)) return -1;
  return static_cast<int32_t>(hourStart_ + 60 * static_cast<std::time_t>(minute) + second);
}

bool EvaluateGame(const PgnTags& tags, std::string_view userName, StartTimes& startTimes,
                  GameRecord& record) {
  record = GameRecord{};
  record.rated = 1;
  record.userWhite = 1;
  record.result = kMarkerResult;  // not known yet
  record.title = 1;
  record.womanTitle = 1;
  record.pool = 2;

  std::string result = SettledResult(tags);
  bool userIsWhite = tags[kTagWhite] == userName;
  if (userIsWhite || tags[kTagBlack] == userName) {
    SetOpponent(record, tags[userIsWhite ? kTagBlack : kTagWhite]);
    record.opponentRating =
        static_cast<int16_t>(ParseDecimal(tags[userIsWhite ? kTagBlackElo : kTagWhiteElo]));
    record.userRating =
        static_cast<int16_t>(ParseDecimal(tags[userIsWhite ? kTagWhiteElo : kTagBlackElo]));
    record.userWhite = userIsWhite ? 1 : 0;
    if (result == "1-0") record.result = userIsWhite ? kUserWon : kUserLost;
    if (result == "0-1") record.result = userIsWhite ? kUserLost : kUserWon;
    if (result == "1/2-1/2") record.result = kDraw;
  }

  int initialSeconds = 0, increment = 0;
  Numbers(tags[kTagTimeControl], '+', {&initialSeconds, &increment});
  record.initialMinutes = initialSeconds / 60;
  record.incrementSeconds = static_cast<uint8_t>(increment);

  std::string_view event = tags[kTagEvent];
  if (event.find("tourney") != std::string_view::npos) {
    size_t open = event.find('(');
    size_t close = event.find(')');
    event = open != std::string_view::npos && close != std::string_view::npos && close > open
                ? event.substr(open + 1, close - open - 1)
                : std::string_view();
    record.pool = 0;
  } else if ((record.initialMinutes != 1 && record.initialMinutes != 5 &&
              record.initialMinutes != 15) ||
             record.incrementSeconds != 0) {
    record.pool = 0;
  }
  size_t position = 0;
  for (std::string_view token; NextToken(event, position, ' ', token);) {
    if (!token.empty() && token.front() == 'w') {
      record.wild = static_cast<uint8_t>(ParseDecimal(token.substr(1)));
      if (record.wild != 0) record.pool = 0;
    }
    if (token == "u") {
      record.rated = 0;
      record.pool = 0;
    }
  }

  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  Numbers(tags[kTagDate], '.', {&year, &month, &day});
  Numbers(tags[kTagTime], ':', {&hour, &minute, &second});
  record.startTime = startTimes.Convert(year, month, day, hour, minute, second);

  // A draw between two other players would count against an empty name: it is not kept.
  bool usersGame = userIsWhite || tags[kTagBlack] == userName;
  return usersGame && record.result != kMarkerResult && !IsUnrecordedVariant(record.wild);
}

}  // namespace tessik
