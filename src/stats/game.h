// One game of the user's record, whichever source holds it: the plug-in's log (the host's
// server), or the database (an online server's games, a PGN file's).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/game_record.h"
#include "store/handle.h"

namespace tessik {

// The servers as the record names them. A game of a PGN that names no server is a file's.
inline constexpr std::string_view kHostServer = "kesh";  // the plug-in's log, and its PGN
inline constexpr std::string_view kLichess = "lichess";
inline constexpr std::string_view kChessCom = "chesscom";
inline constexpr std::string_view kFileServer = "pgn";

// A clock: base and increment in seconds, or days per move (correspondence). A game without
// one (over the board, unlimited correspondence) has neither.
struct GameClock {
  int64_t baseSeconds = 0;
  int64_t incrementSeconds = 0;
  int daysPerMove = 0;
  bool known = false;
};

struct Game {
  // The game as the plug-in's log keeps it, an online game as the log's import made it. The
  // figures of the host's games are computed from it alone, so they stay what they were.
  GameRecord record;
  std::string server;    // one of the names above
  std::string gameId;    // unique within its server; empty for a game of the plug-in's log
  std::string opponent;  // the whole name (a game of the log: the log's 15 characters)
  std::string user;      // the user's name in the game; empty for a game of the log
  int64_t start = kUnknownStartTime;  // seconds UTC; also where the record's 32 bits end
  std::string termination;            // the server's words: "Normal", "Time forfeit", ...
  std::optional<int> ratingChange;    // the user's, where the server gives it
  std::optional<int> opponentRatingChange;
  std::string variant;  // the server's name ("Chess960"); empty: ordinary chess
  GameClock clock;
  std::string timeClass;  // the server's own: "bullet", "blitz", "rapid", "daily", ...
  std::string eco, opening, link;
  std::string userTitle, opponentTitle;  // "GM", "WIM", "BOT", ...; empty: none or unknown
  int64_t batch = 0;  // the import or fetch run of the database that brought it; 0 the log
};

// A game of the plug-in's log: only the record, and the log's name as the opponent's.
Game GameOfRecord(const GameRecord& record);
// Sets the fields of game that GameOfRecord sets, leaving the others as they are: a game only ever
// refilled by it is a game of the log, made without building a new one (whose many texts cost
// more than reading its record does).
void RefillFromRecord(Game& game, const GameRecord& record);
// The games of a log of the plug-in, the records behind its marker, in order.
std::vector<Game> GamesOfLog(const std::vector<GameRecord>& log);

// Tells whether a game is against one player: a game of the log when its opponent field holds
// the handle as the log keeps it (as the score lines match it), a game of another server when
// the whole name is the same, letter case included (a server's names are longer than the log's,
// and two of them may share their first 15 characters).
class PlayerMatcher {
 public:
  explicit PlayerMatcher(std::string_view name) : name_(name), handle_(name) {}
  bool Matches(const Game& game) const {
    return game.server == kHostServer ? handle_.Matches(game.record) : game.opponent == name_;
  }

 private:
  std::string name_;
  HandleMatcher handle_;
};

}  // namespace tessik
