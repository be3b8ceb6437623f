#include "import/pgn_game.h"

#include <climits>
#include <cstdint>

#include "base/decimal.h"
#include "import/pgn_text.h"

namespace tessik {

namespace {

constexpr std::string_view kTagNames[kTagCount] = {"Date",   "Time",      "White",    "Black",
                                                   "Result", "WhiteElo",  "BlackElo", "TimeControl",
                                                   "Event",  "KeshResult"};

// "Result" as the server's own wording settles a game that ended without one.
std::string_view SettledResult(const PgnTags& tags) {
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
  // Most tag lines of a server's PGN are recognised tags: look only at names of the same
  // first letter and length.
  for (int tag = 0; tag < kTagCount; ++tag) {
    const std::string_view known = kTagNames[tag];
    if (known.size() == name.size() && known[0] == name[0] && known == name) {
      values[tag].assign(value);
      return;
    }
  }
}

void PgnTags::Clear() {
  for (std::string& value : values) value.clear();
}

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t yearOfEra = year - era * 400;
  int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// A start time the record's 32 bits hold, else -1 as for a date mktime rejects: an unknown date
// ("????.??.??") or a year before 1902 or after 2037 is not wrapped into another one.
int32_t InStartTimeRange(int64_t seconds) {
  bool fits = seconds >= INT32_MIN && seconds <= INT32_MAX;
  return fits ? static_cast<int32_t>(seconds) : kUnknownStartTime;
}

int64_t OffsetAt(std::time_t when) {
  std::tm local{};
  return localtime_r(&when, &local) != nullptr ? local.tm_gmtoff : INT64_MIN;
}

}  // namespace

int32_t StartTimes::Convert(int year, int month, int day, int hour, int minute, int second) {
  bool plain = month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour < 24 &&
               minute >= 0 && minute < 60 && second >= 0 && second <= 60;
  int64_t local =
      plain ? DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second : 0;
  if (plain && known_ && local >= fromLocal_ && local <= toLocal_) {
    return InStartTimeRange(local - offset_);
  }
  // A year or a month beyond what a broken-down time holds is no time the record holds either
  // (nor one mktime could give).
  if (year < INT_MIN + 1900 || month == INT_MIN) return kUnknownStartTime;
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = -1;
  std::time_t converted = std::mktime(&fields);
  if (plain && converted != static_cast<std::time_t>(-1)) {
    constexpr int64_t kDay = 86400;
    int64_t offset = OffsetAt(converted);
    known_ = local - offset == converted && OffsetAt(converted - kDay) == offset &&
             OffsetAt(converted + kDay) == offset;
    fromLocal_ = local - kDay;
    toLocal_ = local + kDay;
    offset_ = offset;
  }
  return InStartTimeRange(converted);
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

  std::string_view result = SettledResult(tags);
  bool userIsWhite = tags[kTagWhite] == userName;
  if (userIsWhite || tags[kTagBlack] == userName) {
    SetOpponent(record, tags[userIsWhite ? kTagBlack : kTagWhite]);
    record.opponentRating =
        static_cast<int16_t>(ParseDecimal(tags[userIsWhite ? kTagBlackElo : kTagWhiteElo]));
    record.userRating =
        static_cast<int16_t>(ParseDecimal(tags[userIsWhite ? kTagWhiteElo : kTagBlackElo]));
    record.userWhite = userIsWhite ? 1 : 0;
    int32_t fromWhite = ResultFromWhite(result);
    if (fromWhite != kNoResult)
      record.result = static_cast<int8_t>(userIsWhite ? fromWhite : -fromWhite);
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
  } else if (!HasPoolClock(record)) {
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
