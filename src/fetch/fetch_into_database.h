// An account's games from its online server into the user's database.
#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <string_view>

#include "database/record_database.h"
#include "stats/game.h"

namespace tessik {

// The environment variable that may hold the user's lichess token.
inline constexpr char kLichessTokenVariable[] = "TESSIK_LICHESS_TOKEN";

struct FetchResult {
  int received = 0;  // games the server sent that were the account's
  int added = 0;     // new in the database
};

struct FetchRequest {
  Server server = Server::Lichess;  // or Server::ChessCom
  std::string account;              // checked with IsAccountName
  std::string token;                // lichess's personal token; empty: none
  std::function<void(std::string_view line)> progress;
  // What the fetch has kept so far, after each commit: a fetch stopped or failed keeps it.
  std::function<void(const FetchResult& kept)> committed;
  std::stop_token stop;  // a stop asked for ends the fetch with FetchStopped, keeping what it kept
};

// Fetches what the database does not hold yet of the account's finished games, committing each
// batch of lichess's stream and each chess.com month in one transaction with what the fetch
// remembers (the month's validators), so that a fetch stopped anywhere keeps whole games only
// and the next goes on from there. lichess is asked from 30 days before the newest game held, so
// that a long game still running at the last fetch is fetched once it ends; chess.com for the
// months not fetched yet and the newest one fetched. Throws FetchError (the server's failure,
// after the whole games before it are kept) or DatabaseError.
FetchResult FetchIntoDatabase(RecordDatabase& db, const FetchRequest& request);

// What a fetch brought, in a line: "lichess ann: 12 games received, 3 new".
std::string FetchSummary(Server server, std::string_view account, const FetchResult& result);

}  // namespace tessik
