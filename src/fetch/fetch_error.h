// The one failure of a download: its text names the server, the account and the HTTP status
// where there is one, then says what went wrong.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tessik {

struct FetchError : std::runtime_error {
  // "lichess, account \"ann\", HTTP 404: what"; without the account when it is empty (a name
  // refused is not repeated), without ", HTTP …" when status is 0 (no answer came).
  FetchError(std::string_view server, std::string_view account, long status,
             const std::string& what);

  long status;  // the HTTP status of the answer that failed; 0 when none came
};

// A download stopped because its caller asked it to: "lichess, account \"ann\": stopped".
struct FetchStopped : FetchError {
  FetchStopped(std::string_view server, std::string_view account)
      : FetchError(server, account, 0, "stopped") {}
};

}  // namespace tessik
