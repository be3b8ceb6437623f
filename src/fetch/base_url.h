// Where a server is asked: its own address, or a mirror's that the user names.
#pragma once

#include <string>
#include <string_view>

namespace tessik {

// The base URL of server: the value of the environment variable when it is set, else fallback;
// without a trailing '/'. Throws FetchError (naming server and account) for anything but https,
// or http to this machine (127.0.0.1, ::1, localhost): games are never fetched in the clear
// over a network.
std::string BaseUrl(std::string_view server, std::string_view account, const char* variable,
                    std::string_view fallback);

}  // namespace tessik
