#include "fetch/base_url.h"

#include <cstdlib>
#include <memory>

#include "base/text.h"
#include "fetch/curl_library.h"
#include "fetch/fetch_error.h"

namespace tessik {

namespace {

// part of url as libcurl reads it; empty when it has none.
std::string UrlPart(const CurlLibrary& lib, CURLU* url, CURLUPart which) {
  char* part = nullptr;
  if (lib.url_get(url, which, &part, 0) != CURLUE_OK) return {};
  std::string text(part);
  lib.free(part);
  return text;
}

bool IsLoopback(std::string_view host) {
  return host == "127.0.0.1" || host == "[::1]" || EqualsNoCase(host, "localhost");
}

}  // namespace

std::string BaseUrl(std::string_view server, std::string_view account, const char* variable,
                    std::string_view fallback) {
  const char* set = std::getenv(variable);
  std::string base(set != nullptr ? std::string_view(set) : fallback);
  // libcurl reads the URL, as it will when it is asked: a second reading could differ from it.
  std::string failure;
  const CurlLibrary* lib = Curl(failure);
  if (lib == nullptr) throw FetchError(server, account, 0, failure);
  std::unique_ptr<CURLU, void (*)(CURLU*)> url(lib->url(), lib->url_cleanup);
  if (!url || lib->url_set(url.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK) {
    throw FetchError(server, account, 0, std::string(variable) + " is not a URL");
  }
  const std::string scheme = UrlPart(*lib, url.get(), CURLUPART_SCHEME);
  const std::string host = UrlPart(*lib, url.get(), CURLUPART_HOST);
  if (!(scheme == "https" || (scheme == "http" && IsLoopback(host))) ||
      !UrlPart(*lib, url.get(), CURLUPART_USER).empty() ||
      !UrlPart(*lib, url.get(), CURLUPART_QUERY).empty() ||
      !UrlPart(*lib, url.get(), CURLUPART_FRAGMENT).empty()) {
    throw FetchError(server, account, 0,
                     std::string(variable) +
                         " must be an https URL, or an http one of this machine (127.0.0.1, "
                         "::1, localhost), without a user, a query or a fragment");
  }
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base;
}

}  // namespace tessik
