// What a download makes of an answer that did not bring what it asked for.
#pragma once

#include <functional>
#include <stop_token>
#include <string_view>
#include <vector>

#include "fetch/http_exchange.h"

namespace tessik {

// Asks again while the answer is HTTP 429 (too many requests), waiting waits[i] seconds before
// the (i + 2)th request and saying so on progress; the last answer once the waits are spent, or
// once a stop is asked for on stop (the answer then says it stopped).
HttpAnswer AskPatiently(std::string_view server, const std::vector<int>& waits,
                        const std::function<void(std::string_view)>& progress,
                        const std::stop_token& stop, const std::function<HttpAnswer()>& ask);

// Throws the FetchError of an answer that did not bring what was asked for: FetchStopped for one
// stopped on request; none came (libcurl's
// words), an unknown account (404), a server still refusing after its waits (429), another
// status. An answer of 200 that did not end cleanly is the caller's to describe.
[[noreturn]] void ThrowForAnswer(std::string_view server, std::string_view account,
                                 const HttpAnswer& answer);

}  // namespace tessik
