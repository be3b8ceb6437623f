#include "fetch/fetch_error.h"

namespace tessik {

namespace {

std::string FetchErrorText(std::string_view server, std::string_view account, long status,
                           const std::string& what) {
  std::string text(server);
  if (!account.empty()) text += ", account \"" + std::string(account) + "\"";
  if (status != 0) text += ", HTTP " + std::to_string(status);
  return text + ": " + what;
}

}  // namespace

FetchError::FetchError(std::string_view server, std::string_view account, long status,
                       const std::string& what)
    : std::runtime_error(FetchErrorText(server, account, status, what)), status(status) {}

}  // namespace tessik
