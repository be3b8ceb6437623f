// One game of the user's record, whichever source holds it: the plug-in's log (the host's
// server), or the database (an online server's games, a PGN file's).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "store/game_record.h"
#include "store/handle.h"

namespace tessik {

// The servers a game can come from. A game of a PGN that names no server is a file's.
enum class Server : uint8_t { Host, Lichess, ChessCom, File };
inline constexpr Server kServers[] = {Server::Host, Server::Lichess, Server::ChessCom,
                                      Server::File};
// The name the database, the options and the text use: "kesh", "lichess", "chesscom", "pgn".
std::string_view ServerName(Server server);
std::optional<Server> ServerNamed(std::string_view name);
// Whether a name is an online server's marker for an anonymous player (lichess: "Anonymous"),
// no account's. The host's guests are its own rule (IsGuestHandle).
bool IsAnonymousPlayer(Server server, std::string_view name);

// A clock: base and increment in seconds, or days per move (correspondence). A game without
// one (over the board, unlimited correspondence) has neither.
struct GameClock {
  int64_t baseSeconds = 0;
  int64_t incrementSeconds = 0;
  int daysPerMove = 0;
  bool known = false;
};

// The words a server gives of a game's kind and opening, which many games repeat: a read of
// the database keeps each set of them once for all its games.
struct GameLabels {
  std::string termination;  // the server's words: "Normal", "Time forfeit", ...
  std::string variant;      // the server's name ("Chess960"); empty: ordinary chess
  std::string timeClass;    // the server's own: "bullet", "blitz", "rapid", "daily", ...
  std::string eco, opening;

  bool operator==(const GameLabels&) const = default;
};

// What the import writes of a game beyond what the figures read, and the texts of a game read or
// fetched, which its details point to.
struct GameIdentity {
  std::string gameId;  // unique within its server
  std::string user;    // the user's whole name
  std::optional<int> opponentRatingChange;
  std::string userTitle, opponentTitle;  // "GM", "WIM", "BOT", ...; empty: none or unknown
  std::string opponent, link;
  GameLabels labels;
};

// What a game of the database knows beyond the log's record. Its texts belong to whoever made
// it: its identity, or the read of the database that made it (LoadGames), which a million games
// share; the details keep their owner alive.
struct GameDetails {
  std::string_view opponent;          // the whole name
  int64_t start = kUnknownStartTime;  // seconds UTC, beyond the record's 32 bits
  std::optional<int> ratingChange;    // the user's, where the server gives it
  GameClock clock;
  const GameLabels* labels = &kNoLabels;
  std::string_view link;
  // A game read or fetched has it; a game read back from the database for the figures
  // (LoadGames) has none: a million of them are read at once.
  std::unique_ptr<GameIdentity> identity;

  static const GameLabels kNoLabels;
};

// One game, as small as the log's record for a game of the log (a million of them are read at
// once): the details are shared, and only a game of the database has them.
struct Game {
  // The game as the plug-in's log keeps it, an online game as the log's import made it. The
  // figures of the host's games are computed from it alone, so they stay what they were.
  GameRecord record;
  Server server = Server::Host;
  std::shared_ptr<GameDetails> details;  // none for a game of the log

  // The opponent's whole name; a game of the log: its 15 characters.
  std::string_view Opponent() const { return details ? details->opponent : OpponentName(record); }
  // The start, seconds UTC.
  int64_t Start() const { return details ? details->start : record.startTime; }
};

// A game of the plug-in's log.
inline Game GameOfRecord(const GameRecord& record) { return {record, Server::Host, nullptr}; }
// The games of a log of the plug-in, the records behind its marker, in order.
std::vector<Game> GamesOfLog(const std::vector<GameRecord>& log);

// Tells whether a game is against one player, letter case aside: a game of the log when its
// opponent field holds the handle's first 15 characters as the log keeps them, a game of the
// database when the whole name is the same (a server's names are longer than the log's, and two
// of them may share their first 15 characters). An online account's name ignores case, and the
// host's games fold it as the opponents' totals do.
class PlayerMatcher {
 public:
  explicit PlayerMatcher(std::string_view name) : name_(name), handle_(name, true) {}
  bool Matches(const Game& game) const {
    return game.details ? EqualsNoCase(game.details->opponent, name_)
                        : handle_.Matches(game.record);
  }

 private:
  std::string name_;
  HandleMatcher handle_;
};

}  // namespace tessik
