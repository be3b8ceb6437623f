#include "fetch/account_name.h"

#include <algorithm>

#include "fetch/fetch_error.h"

namespace tessik {

namespace {

constexpr size_t kMaxAccountName = 30;

bool IsAccountCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-';
}

}  // namespace

bool IsAccountName(std::string_view account) {
  return !account.empty() && account.size() <= kMaxAccountName &&
         std::all_of(account.begin(), account.end(), IsAccountCharacter);
}

void RequireAccountName(std::string_view server, std::string_view account) {
  if (!IsAccountName(account)) {
    throw FetchError(server, "", 0,
                     "not an account name (letters, digits, '_' and '-', 1 to 30 characters)");
  }
}

}  // namespace tessik
