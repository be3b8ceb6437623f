// What a game of an archive says beyond the log's record.
#include <algorithm>
#include <cstdio>

#include "base/decimal.h"
#include "base/text.h"
#include "stats/archive_game.h"

namespace tessik {

namespace {

constexpr int64_t kSecondsADay = 86400;

// The text after prefix in text, up to a slash, query or fragment; empty when text does not
// begin with prefix.
std::string_view PathAfter(std::string_view text, std::string_view prefix) {
  const size_t at = text.find(prefix);
  if (at == std::string_view::npos) return {};
  text.remove_prefix(at + prefix.size());
  return text.substr(0, text.find_first_of("?#"));
}

// The server and the id of the game there.
void Identify(const ArchiveTags& tags, PgnFormat format, Game& game, GameIdentity& identity) {
  const std::string_view site = tags.site;
  std::string_view id;
  if (site.starts_with("https://lichess.org/") || site.starts_with("http://lichess.org/")) {
    game.server = Server::Lichess;
    id = PathAfter(site, "lichess.org/");
    id = id.substr(0, id.find('/'));  // a game's URL may go on to the side seen
  } else if (tags.link.find("chess.com/game/") != std::string::npos ||
             EqualsNoCase(site, "Chess.com")) {
    game.server = Server::ChessCom;
    id = PathAfter(tags.link, "chess.com/game/");
  } else {
    game.server = format == PgnFormat::Server ? Server::Host : Server::File;
  }
  if (!id.empty()) {
    identity.gameId = id;
  } else {
    char digest[24];
    std::snprintf(digest, sizeof digest, "pgn-%016llx",
                  static_cast<unsigned long long>(tags.digest));
    identity.gameId = digest;
  }
}

// The clock of a TimeControl tag: "base+increment" or "base" in seconds, "moves/seconds" of a
// first period, "1/seconds" of correspondence in whole days: days per move.
GameClock ClockOf(std::string_view control) {
  GameClock clock;
  control = control.substr(0, control.find(':'));
  const size_t slash = control.find('/');
  const bool perMove = slash != std::string_view::npos && control.substr(0, slash) == "1";
  if (slash != std::string_view::npos) control.remove_prefix(slash + 1);
  if (control.empty() || control.find_first_not_of("0123456789+") != std::string_view::npos) {
    return clock;
  }
  const size_t plus = control.find('+');
  const int64_t base = ParseDecimal(control.substr(0, plus));
  if (perMove && base >= kSecondsADay && base % kSecondsADay == 0) {
    clock.daysPerMove = static_cast<int>(base / kSecondsADay);
    return clock;
  }
  clock.known = true;
  clock.baseSeconds = base;
  clock.incrementSeconds =
      plus == std::string_view::npos ? 0 : ParseDecimal(control.substr(plus + 1));
  return clock;
}

std::optional<int> RatingChange(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return ParseDecimal(text);
}

// lichess names its time class in the Event: "Rated Blitz game", "Casual Correspondence game".
std::string LichessTimeClass(std::string_view event) {
  const size_t space = event.find(' ');
  if (space == std::string_view::npos || !event.ends_with(" game")) return "";
  const std::string_view name = event.substr(space + 1, event.size() - space - 1 - 5);
  return name.find(' ') == std::string_view::npos ? FoldedCase(name) : "";
}

// The opening named by the last segment of a URL under ".../openings/", its dashes as spaces
// (chess.com's ECOUrl: ".../openings/Italian-Game-Two-Knights"); empty for any other URL.
std::string OpeningOfUrl(std::string_view url) {
  url = url.substr(0, url.find_first_of("?#"));
  const size_t openings = url.find("/openings/");
  if (url.find("://") == std::string_view::npos || openings == std::string_view::npos) return "";
  std::string name(url.substr(url.rfind('/') + 1));
  std::replace(name.begin(), name.end(), '-', ' ');
  return name;
}

}  // namespace

LeftOut ArchiveGame(const ArchiveTags& tags, std::string_view player, PgnFormat format,
                    StartTimes& startTimes, Game& game) {
  if (format == PgnFormat::Auto) format = DetectFormat(tags);
  game = Game{};
  const LeftOut why = ArchiveRecord(tags, player, format, startTimes, game.record);
  if (why != LeftOut::Kept) return why;
  const PgnTags& t = tags.server;
  const bool white = game.record.userWhite != 0;
  auto details = std::make_shared<GameDetails>();
  details->identity = std::make_unique<GameIdentity>();
  GameIdentity& identity = *details->identity;
  Identify(tags, format, game, identity);
  identity.user = t[white ? kTagWhite : kTagBlack];
  details->opponent = identity.opponent = t[white ? kTagBlack : kTagWhite];
  details->start = format == PgnFormat::Server ? game.record.startTime : OnlineStart(tags);
  GameLabels& labels = identity.labels;
  labels.termination = tags.termination;
  details->ratingChange = RatingChange(white ? tags.whiteRatingDiff : tags.blackRatingDiff);
  identity.opponentRatingChange = RatingChange(white ? tags.blackRatingDiff : tags.whiteRatingDiff);
  if (!EqualsNoCase(tags.variant, "Standard")) labels.variant = tags.variant;
  details->clock = ClockOf(t[kTagTimeControl]);
  const bool lichess = game.server == Server::Lichess;
  if (lichess) labels.timeClass = LichessTimeClass(t[kTagEvent]);
  labels.eco = tags.eco;
  labels.opening = !tags.opening.empty() ? tags.opening : OpeningOfUrl(tags.ecoUrl);
  details->labels = &labels;
  details->link = identity.link = !tags.link.empty() ? tags.link : lichess ? tags.site : "";
  identity.userTitle = white ? tags.whiteTitle : tags.blackTitle;
  identity.opponentTitle = white ? tags.blackTitle : tags.whiteTitle;
  game.details = std::move(details);
  return LeftOut::Kept;
}

}  // namespace tessik
