#include "stats/game_kind.h"

#include <iterator>

#include "base/decimal.h"
#include "base/text.h"
#include "stats/archive_game.h"
#include "stats/game_filter.h"

namespace tessik {

namespace {

// The servers' own words for the classes; chess.com's "daily" is correspondence.
constexpr std::pair<std::string_view, TimeClass> kClassWords[] = {
    {"ultrabullet", TimeClass::UltraBullet},
    {"bullet", TimeClass::Bullet},
    {"blitz", TimeClass::Blitz},
    {"rapid", TimeClass::Rapid},
    {"correspondence", TimeClass::Correspondence},
    {"daily", TimeClass::Correspondence}};

// Words of a Termination tag, in the order they are looked for: "drawn by timeout vs
// insufficient material" is a draw for want of material, not a loss on time.
constexpr std::pair<std::string_view, Ending> kEndingWords[] = {
    {"insufficient", Ending::InsufficientMaterial},
    {"checkmate", Ending::Checkmate},
    {"resign", Ending::Resignation},
    {"time", Ending::Time},
    {"abandon", Ending::Abandonment},
    {"agreement", Ending::Agreement},
    {"repetition", Ending::Repetition},
    {"stalemate", Ending::Stalemate},
};

std::optional<TimeClass> ClassOfWord(std::string_view word) {
  for (const auto& [name, timeClass] : kClassWords) {
    if (EqualsNoCase(word, name)) return timeClass;
  }
  return std::nullopt;
}

}  // namespace

std::string_view TimeClassName(TimeClass timeClass) {
  switch (timeClass) {
    case TimeClass::UltraBullet:
      return "ultrabullet";
    case TimeClass::Bullet:
      return "bullet";
    case TimeClass::Blitz:
      return "blitz";
    case TimeClass::Rapid:
      return "rapid";
    case TimeClass::Classical:
      return "classical";
    case TimeClass::Correspondence:
      break;
  }
  return "correspondence";
}

TimeClass TimeClassOfClock(int64_t baseSeconds, int64_t incrementSeconds) {
  const int64_t duration = baseSeconds + 40 * incrementSeconds;
  if (duration < 30) return TimeClass::UltraBullet;
  if (duration < 180) return TimeClass::Bullet;
  if (duration < 480) return TimeClass::Blitz;
  if (duration < 1500) return TimeClass::Rapid;
  return TimeClass::Classical;
}

GameClock ClockOf(const Game& game) {
  if (game.details) return game.details->clock;
  GameClock clock;
  if (game.record.initialMinutes == kNoClockMinutes) return clock;
  clock.known = true;
  clock.baseSeconds = int64_t{game.record.initialMinutes} * 60;
  clock.incrementSeconds = game.record.incrementSeconds;
  return clock;
}

std::string ClockText(const GameClock& clock) {
  if (clock.daysPerMove > 0) return std::to_string(clock.daysPerMove) + "d";
  if (!clock.known) return "";
  std::string text = std::to_string(clock.baseSeconds);
  if (clock.incrementSeconds != 0) text += "+" + std::to_string(clock.incrementSeconds);
  return text;
}

std::optional<GameClock> ClockOfText(std::string_view text) {
  const auto number = [](std::string_view digits) -> std::optional<int64_t> {
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    return ParseDecimal(digits);
  };
  GameClock clock;
  if (text.ends_with('d')) {
    const auto days = number(text.substr(0, text.size() - 1));
    if (!days || *days == 0) return std::nullopt;
    clock.daysPerMove = static_cast<int>(*days);
    return clock;
  }
  const size_t plus = text.find('+');
  const auto base = number(text.substr(0, plus));
  const auto increment =
      plus == std::string_view::npos ? std::optional<int64_t>(0) : number(text.substr(plus + 1));
  if (!base || !increment) return std::nullopt;
  clock.known = true;
  clock.baseSeconds = *base;
  clock.incrementSeconds = *increment;
  return clock;
}

bool SameClock(const GameClock& a, const GameClock& b) {
  if (a.daysPerMove > 0 || b.daysPerMove > 0) return a.daysPerMove == b.daysPerMove;
  return a.known && b.known && a.baseSeconds == b.baseSeconds &&
         a.incrementSeconds == b.incrementSeconds;
}

std::optional<TimeClass> TimeClassOf(const Game& game) {
  if (game.details) {
    if (const auto own = ClassOfWord(game.details->labels->timeClass)) return own;
  }
  const GameClock clock = ClockOf(game);
  if (clock.daysPerMove > 0) return TimeClass::Correspondence;
  if (!clock.known) return std::nullopt;
  return TimeClassOfClock(clock.baseSeconds, clock.incrementSeconds);
}

std::string VariantOf(const Game& game) {
  if (game.details) return VariantNamed(game.details->labels->variant);
  const uint8_t wild = game.record.wild;
  if (wild == 0) return "";
  const std::string_view named = VariantOfWild(wild);
  return named.empty() ? "wild " + std::to_string(wild) : FoldedCase(named);
}

std::string VariantNamed(std::string_view name) {
  std::string folded = FoldedCase(name);
  return folded == "standard" || folded == "chess" ? "" : folded;
}

std::string PoolOf(const Game& game) {
  std::string pool(ServerName(game.server));
  if (game.server == Server::Host) {
    return pool + " " + std::string(RatingTypeName(RatingTypeOf(game.record)));
  }
  const std::string variant = VariantOf(game);
  const std::optional<TimeClass> timeClass = TimeClassOf(game);
  if (game.server == Server::Lichess) {
    // lichess rates a variant in one pool whatever its clock.
    if (!variant.empty()) return pool + " " + variant;
    const std::string& own = game.details->labels->timeClass;
    if (!own.empty()) return pool + " " + own;
  }
  if (!variant.empty()) pool += " " + variant;
  if (game.server == Server::ChessCom) {
    // chess.com's own word for its class, as its JSON gives it; "daily" for correspondence.
    const std::string& own = game.details->labels->timeClass;
    if (!own.empty()) return pool + " " + FoldedCase(own);
    if (timeClass == TimeClass::Correspondence) return pool + " daily";
  }
  if (timeClass) pool += " " + std::string(TimeClassName(*timeClass));
  return pool;
}

bool PoolNamer::Name(const Game& game) {
  // What PoolOf reads of each game.
  const auto sameKind = [](const Game& a, const Game& b) {
    if (a.server != b.server) return false;
    if (a.server == Server::Host) return RatingTypeOf(a.record) == RatingTypeOf(b.record);
    if (!a.details || !b.details) return false;
    const GameDetails& x = *a.details;
    const GameDetails& y = *b.details;
    const bool sameLabels = x.labels == y.labels || (x.labels->variant == y.labels->variant &&
                                                     x.labels->timeClass == y.labels->timeClass);
    return sameLabels && x.clock.known == y.clock.known &&
           x.clock.baseSeconds == y.clock.baseSeconds &&
           x.clock.incrementSeconds == y.clock.incrementSeconds &&
           x.clock.daysPerMove == y.clock.daysPerMove;
  };
  const bool again = last_ != nullptr && sameKind(*last_, game);
  last_ = &game;
  if (!again) pool_ = PoolOf(game);
  return !again;
}

std::optional<int> RatingAfter(const Game& game) {
  const int before = game.record.userRating;
  if (before == 0) return std::nullopt;
  const bool changed = game.details && game.details->ratingChange;
  return changed ? before + *game.details->ratingChange : before;
}

std::string_view EndingName(Ending ending) {
  switch (ending) {
    case Ending::Checkmate:
      return "checkmate";
    case Ending::Resignation:
      return "resignation";
    case Ending::Time:
      return "time";
    case Ending::Abandonment:
      return "abandonment";
    case Ending::Agreement:
      return "agreement";
    case Ending::Repetition:
      return "repetition";
    case Ending::Stalemate:
      return "stalemate";
    case Ending::InsufficientMaterial:
      return "insufficient-material";
    case Ending::OnTheBoard:
      return "on-the-board";
    case Ending::Other:
      return "other";
    case Ending::Unknown:
      break;
  }
  return "unknown";
}

Ending EndingOf(const Game& game) {
  if (!game.details || game.details->labels->termination.empty()) return Ending::Unknown;
  const std::string words = FoldedCase(game.details->labels->termination);
  if (words == "normal") return Ending::OnTheBoard;
  for (const auto& [word, ending] : kEndingWords) {
    if (words.find(word) != std::string::npos) return ending;
  }
  return Ending::Other;
}

}  // namespace tessik
