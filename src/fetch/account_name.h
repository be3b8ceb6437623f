// The account names a download accepts: checked before any URL is built, so that a name can only
// ever be one path segment of plain letters.
#pragma once

#include <string_view>

namespace tessik {

// An account name either server could have: letters, digits, '_' and '-', 1 to 30 characters.
bool IsAccountName(std::string_view account);

// Throws FetchError for server when account is not an account name (the name is not repeated:
// it may hold anything).
void RequireAccountName(std::string_view server, std::string_view account);

}  // namespace tessik
