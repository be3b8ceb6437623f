// What kind of game a game was: its time class, its clock, its variant, the rating pool it
// counts in, the rating it left the user with, and how it ended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stats/game.h"

namespace tessik {

enum class TimeClass : uint8_t { UltraBullet, Bullet, Blitz, Rapid, Classical, Correspondence };
inline constexpr TimeClass kTimeClasses[] = {TimeClass::UltraBullet, TimeClass::Bullet,
                                             TimeClass::Blitz,       TimeClass::Rapid,
                                             TimeClass::Classical,   TimeClass::Correspondence};
// "ultrabullet", "bullet", "blitz", "rapid", "classical", "correspondence".
std::string_view TimeClassName(TimeClass timeClass);

// The class of a clock by its estimated duration, base + 40 × increment seconds: ultrabullet
// under 30 s, bullet under 180 s, blitz under 480 s, rapid under 1,500 s, classical above.
TimeClass TimeClassOfClock(int64_t baseSeconds, int64_t incrementSeconds);

// The game's clock: the database's exact one, a game of the log its minutes and increment.
// Unknown (known false, no days per move) for a game without a clock.
GameClock ClockOf(const Game& game);

// A clock as the options take it and the text shows it: "180+2", "600" without an increment,
// "1d" for a day per move; empty for none.
std::string ClockText(const GameClock& clock);
// The clock of such a text; nothing when it is not one.
std::optional<GameClock> ClockOfText(std::string_view text);
// Whether two clocks are the same (two unknown clocks are not).
bool SameClock(const GameClock& a, const GameClock& b);

// The game's time class: the one its server gives (lichess's Event, chess.com's time_class:
// "daily" is correspondence), else the one of its clock (days per move: correspondence).
// Nothing for a game without either (over the board, a variant game of lichess without a
// clock).
std::optional<TimeClass> TimeClassOf(const Game& game);

// The game's variant in lower case ("chess960", "crazyhouse", "wild 5" for a game of the log
// the online servers do not name); empty for ordinary chess.
std::string VariantOf(const Game& game);
// A variant as the options take it: in lower case, "standard" and "chess" being ordinary chess
// (empty).
std::string VariantNamed(std::string_view name);

// The rating pool the game counts in, named with its server: the host's rating type ("kesh
// blitz"); lichess's perf type, the variant for a variant game ("lichess rapid", "lichess
// chess960"); chess.com's time class with its rules ("chesscom daily", "chesscom chess960
// blitz"); a file's games by their time class ("pgn rapid"), or the server alone without one.
std::string PoolOf(const Game& game);

// PoolOf for games in turn: a record's games come in runs of one kind (server, rating type,
// variant, time class, clock), whose pool is named once.
class PoolNamer {
 public:
  // Names game's pool; true when it was named afresh, its kind not the one named before. game
  // stays until the next call.
  bool Name(const Game& game);
  const std::string& pool() const { return pool_; }

 private:
  const Game* last_ = nullptr;
  std::string pool_;
};

// The user's rating after the game: the one before it with the server's rating change where it
// gives one, else the one before it. Nothing when the rating is unknown.
std::optional<int> RatingAfter(const Game& game);

// How a game ended, as far as the server says: lichess says "Normal" for a game ended on the
// board by mate, resignation or a draw it cannot tell apart.
enum class Ending : uint8_t {
  Checkmate,
  Resignation,
  Time,
  Abandonment,
  Agreement,
  Repetition,
  Stalemate,
  InsufficientMaterial,
  OnTheBoard,
  Other,
  Unknown
};
inline constexpr Ending kEndings[] = {
    Ending::Checkmate,  Ending::Resignation, Ending::Time,      Ending::Abandonment,
    Ending::Agreement,  Ending::Repetition,  Ending::Stalemate, Ending::InsufficientMaterial,
    Ending::OnTheBoard, Ending::Other,       Ending::Unknown};
// "checkmate", "resignation", "time", "abandonment", "agreement", "repetition", "stalemate",
// "insufficient-material", "on-the-board", "other", "unknown".
std::string_view EndingName(Ending ending);
// The ending of the game's Termination tag; a game of the log: unknown.
Ending EndingOf(const Game& game);

}  // namespace tessik
