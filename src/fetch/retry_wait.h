// The waits a server asks for with HTTP 429 (too many requests).
#pragma once

#include <functional>
#include <stop_token>
#include <string_view>

namespace tessik {

// lichess's wait after a 429, in seconds: a full minute, as it asks; the environment variable
// TESSIK_FETCH_WAIT_SECONDS (a whole number, 0 to 3600) replaces it for a local mirror, and
// chess.com's waits are drawn from it. Throws FetchError (naming server and account) for
// another value.
int LichessWaitSeconds(std::string_view server, std::string_view account);

// Says on progress that server asked to wait, and for how long, then sleeps that long, or until
// a stop is asked for on stop.
void WaitForServer(std::string_view server, int seconds,
                   const std::function<void(std::string_view)>& progress,
                   const std::stop_token& stop);

}  // namespace tessik
