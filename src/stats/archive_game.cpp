#include "stats/archive_game.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/decimal.h"
#include "base/text.h"
#include "import/pgn_text.h"
#include "stats/utc_time.h"

namespace tessik {

namespace {

struct TagField {
  std::string_view name;
  std::string ArchiveTags::*field;
};

constexpr TagField kOnlineFields[] = {
    {"Site", &ArchiveTags::site},
    {"UTCDate", &ArchiveTags::utcDate},
    {"UTCTime", &ArchiveTags::utcTime},
    {"StartTime", &ArchiveTags::startTime},
    {"Variant", &ArchiveTags::variant},
    {"WhiteTitle", &ArchiveTags::whiteTitle},
    {"BlackTitle", &ArchiveTags::blackTitle},
    {"Link", &ArchiveTags::link},
    {"Termination", &ArchiveTags::termination},
    {"WhiteRatingDiff", &ArchiveTags::whiteRatingDiff},
    {"BlackRatingDiff", &ArchiveTags::blackRatingDiff},
    {"ECO", &ArchiveTags::eco},
    {"Opening", &ArchiveTags::opening},
    {"ECOUrl", &ArchiveTags::ecoUrl},
};

// Variants of the online servers as the log numbers them.
constexpr std::pair<std::string_view, uint8_t> kVariants[] = {
    {"Standard", 0},     {"Chess960", 22},  {"Fischerandom", 22}, {"Crazyhouse", 23},
    {"Three-check", 25}, {"Antichess", 26}, {"Giveaway", 26},     {"Atomic", 27},
};

}  // namespace

std::string_view VariantOfWild(uint8_t wild) {
  if (wild == 0) return "";
  const auto* variant = std::find_if(std::begin(kVariants), std::end(kVariants),
                                     [wild](const auto& v) { return v.second == wild; });
  return variant == std::end(kVariants) ? "" : variant->first;
}

namespace {

int32_t StartInRecord(int64_t start) {
  return start < INT32_MIN || start > INT32_MAX ? kUnknownStartTime : static_cast<int32_t>(start);
}

int16_t Rating(std::string_view text) {
  return static_cast<int16_t>(std::clamp(ParseDecimal(text), -32768, 32767));
}

// The clock of a TimeControl tag into the record; false when it gives none.
bool SetClock(std::string_view control, GameRecord& record) {
  control = control.substr(0, control.find(':'));  // the first period of several
  size_t slash = control.find('/');
  if (slash != std::string_view::npos) control.remove_prefix(slash + 1);  // moves/seconds
  if (control.empty() || control.find_first_not_of("0123456789+") != std::string_view::npos) {
    return false;  // "-", "?", "*" and the like: no clock
  }
  size_t plus = control.find('+');
  const int64_t base = ParseDecimal(control.substr(0, plus));
  const int64_t increment =
      plus == std::string_view::npos ? 0 : ParseDecimal(control.substr(plus + 1));
  record.initialMinutes = static_cast<int32_t>((base + 30) / 60);
  record.incrementSeconds = static_cast<uint8_t>(std::min<int64_t>(increment, 255));
  return true;
}

// The opponent's titles from the title tag: without one both are unknown (1); a title the log
// does not know counts as none; BOT marks a computer.
void SetTitles(std::string_view tag, GameRecord& record) {
  record.title = record.womanTitle = tag.empty() ? 1 : 0;
  for (const TitleCode& title : kTitleCodes) {
    if (tag == title.text && title.field != &GameRecord::computer) record.*title.field = title.code;
  }
  record.computer = tag == "BOT" ? 1 : 0;
}

LeftOut OnlineRecord(const ArchiveTags& tags, std::string_view player, GameRecord& record) {
  const PgnTags& t = tags.server;
  const bool userWhite = EqualsNoCase(t[kTagWhite], player);
  if (!userWhite && !EqualsNoCase(t[kTagBlack], player)) return LeftOut::NotTheUser;
  const int32_t fromWhite = ResultFromWhite(t[kTagResult]);
  if (fromWhite == kNoResult) return LeftOut::NoResult;
  const auto variant = std::find_if(std::begin(kVariants), std::end(kVariants), [&](const auto& v) {
    return EqualsNoCase(v.first, tags.variant);
  });
  if (!tags.variant.empty() && variant == std::end(kVariants)) return LeftOut::Variant;
  record = GameRecord{};
  record.wild = tags.variant.empty() ? 0 : variant->second;
  record.userWhite = userWhite ? 1 : 0;
  record.result = static_cast<int8_t>(userWhite ? fromWhite : -fromWhite);
  SetOpponent(record, userWhite ? t[kTagBlack] : t[kTagWhite]);
  record.userRating = Rating(userWhite ? t[kTagWhiteElo] : t[kTagBlackElo]);
  record.opponentRating = Rating(userWhite ? t[kTagBlackElo] : t[kTagWhiteElo]);
  if (!SetClock(t[kTagTimeControl], record)) record.initialMinutes = kNoClockMinutes;
  const std::string folded = FoldedCase(t[kTagEvent]);
  record.rated =
      folded.find("casual") == std::string::npos && folded.find("unrated") == std::string::npos;
  SetTitles(userWhite ? tags.blackTitle : tags.whiteTitle, record);
  record.startTime = StartInRecord(OnlineStart(tags));
  return LeftOut::Kept;
}

}  // namespace

int64_t OnlineStart(const ArchiveTags& tags) {
  std::string date = !tags.utcDate.empty() ? tags.utcDate : tags.server[kTagDate];
  std::string_view time = !tags.utcDate.empty()     ? std::string_view(tags.utcTime)
                          : !tags.startTime.empty() ? std::string_view(tags.startTime)
                                                    : std::string_view(tags.server[kTagTime]);
  std::replace(date.begin(), date.end(), '.', '-');
  std::optional<int64_t> day = ParseDate(date);
  if (!day) return kUnknownStartTime;
  int64_t seconds = *day;
  if (time.size() >= 8 && time[2] == ':' && time[5] == ':') {
    seconds += ParseDecimal(time.substr(0, 2)) * 3600 + ParseDecimal(time.substr(3, 2)) * 60 +
               ParseDecimal(time.substr(6, 2));
  }
  return seconds;
}

void ArchiveTags::Take(std::string_view name, std::string_view value) {
  for (std::string_view part : {name, value}) {  // FNV-1a, each part ended by a NUL
    for (char c : part) digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    digest *= 0x100000001b3;
  }
  server.Take(name, value);
  for (const TagField& f : kOnlineFields) {
    if (f.name == name) (this->*f.field).assign(value);
  }
}

void ArchiveTags::Clear() {
  digest = kEmptyDigest;
  for (const TagField& f : kOnlineFields) (this->*f.field).clear();
  server.Clear();
}

PgnFormat DetectFormat(const ArchiveTags& tags) {
  if (!tags.utcDate.empty() || !tags.startTime.empty() || !tags.variant.empty()) {
    return PgnFormat::Online;
  }
  const PgnTags& t = tags.server;
  const bool serverEvent =
      t[kTagEvent].starts_with("rated ") || t[kTagEvent].starts_with("unrated ");
  const bool server =
      !t[kTagKeshResult].empty() || tags.site == "Kesh" || (!t[kTagTime].empty() && serverEvent);
  return server ? PgnFormat::Server : PgnFormat::Standard;
}

LeftOut ArchiveRecord(const ArchiveTags& tags, std::string_view player, PgnFormat format,
                      StartTimes& startTimes, GameRecord& record) {
  if (format == PgnFormat::Auto) format = DetectFormat(tags);
  if (format != PgnFormat::Server) return OnlineRecord(tags, player, record);
  const PgnTags& t = tags.server;
  if (t[kTagWhite] != player && t[kTagBlack] != player) return LeftOut::NotTheUser;
  if (EvaluateGame(t, player, startTimes, record)) return LeftOut::Kept;
  return ResultFromWhite(t[kTagResult]) == kNoResult ? LeftOut::NoResult : LeftOut::Variant;
}

}  // namespace tessik
