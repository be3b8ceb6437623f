// Downloading an account's finished games from lichess and chess.com, one request at a time.
// The caller stores what the hooks hand on; these functions keep nothing between runs.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "database/sources.h"
#include "fetch/account_name.h"
#include "fetch/fetch_error.h"

namespace tessik {

// The bounds of what is read. Each is far above what real accounts need, so that only a broken
// or hostile server meets one; the transfer then stops with a FetchError.
// One lichess game: a long game with clock comments is tens of KB.
inline constexpr size_t kMaxLichessGameBytes = size_t{1} << 20;
// chess.com's list of an account's months: about 70 bytes a month, a few KB for twenty years.
inline constexpr size_t kMaxArchiveListBytes = size_t{1} << 20;
// One chess.com month as JSON: a very active player's month is a few MB.
inline constexpr size_t kMaxMonthBytes = size_t{64} << 20;
// The lichess games handed on at once: at most this many, and those of at most this long. Each
// batch is a commit, whose cost grows with the indexes' pages it rewrites rather than with its
// games; on a slow line a batch still ends every few seconds.
inline constexpr size_t kLichessBatchGames = 5000;
inline constexpr std::chrono::seconds kLichessBatchTime{5};

struct FetchedGame {
  std::string pgn;  // one whole game
  // chess.com's words for it ("blitz", "chess", the game's page); empty for lichess.
  std::string timeClass, rules, url;
};

struct FetchHooks {
  // lichess: whole games, a batch at a time (kLichessBatchGames), oldest first. The caller commits
  // each batch: a later failure leaves the batches already handed on with it.
  std::function<void(std::vector<FetchedGame>&&)> games;
  // chess.com: one whole month, oldest first, with the validators its answer gave. Not called
  // for a month that has not changed (HTTP 304).
  std::function<void(const FetchedMonth&, std::vector<FetchedGame>&&)> month;
  // A line for standard error: how far the download has got, and any wait the server asked for.
  std::function<void(std::string_view line)> progress;
  // Asked to stop, a download ends within about a second with FetchStopped, after handing on
  // what it holds whole (lichess's games so far; not a month half read).
  std::stop_token stop;
};

// Every finished game of the lichess account, oldest first; only those that ended at or after
// sinceMilliseconds (ms since the epoch) when given. token, when not empty, is the user's
// personal token: sent in a header, never shown. Throws FetchError; the batches handed on before
// a failure stay handed on.
void FetchLichess(std::string_view account, std::optional<int64_t> sinceMilliseconds,
                  const std::string& token, const FetchHooks& hooks);

// Every month of the chess.com account not in fetched, and the newest month in fetched again
// (it may have grown), sent with its validators so that an unchanged month costs nothing.
// Throws FetchError; the months handed on before a failure stay handed on.
void FetchChessCom(std::string_view account, const std::vector<FetchedMonth>& fetched,
                   const FetchHooks& hooks);

}  // namespace tessik
