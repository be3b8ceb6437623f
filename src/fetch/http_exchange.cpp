#include "fetch/http_exchange.h"

#include <exception>
#include <memory>
#include <stdexcept>

#include "fetch/curl_library.h"
#include "version.h"

namespace tessik {

namespace {

// What an answer other than 200 may send before the transfer stops: its status says enough.
constexpr size_t kMaxDroppedBody = 64 * 1024;
constexpr long kConnectSeconds = 30;
// A transfer slower than a byte a second for this long has stalled.
constexpr long kStallSeconds = 60;
// Longer validators are not a server's own, and are not sent back.
constexpr size_t kMaxValidator = 512;

const std::string kUserAgent = std::string("Tessik/") + kVersion + " (" + kContact + ")";

struct Transfer {
  const CurlLibrary* lib;
  CURL* curl;
  const std::function<bool(std::string_view)>* body;
  size_t dropped = 0;
  std::exception_ptr thrown;
};

size_t TakeBody(char* data, size_t size, size_t count, void* context) {
  Transfer& transfer = *static_cast<Transfer*>(context);
  const size_t bytes = size * count;
  long status = 0;
  transfer.lib->easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
  if (status != 200) {
    transfer.dropped += bytes;
    return transfer.dropped <= kMaxDroppedBody ? bytes : 0;
  }
  // An exception must not cross libcurl's C frames: it is kept and thrown once libcurl returns.
  try {
    return (*transfer.body)(std::string_view(data, bytes)) ? bytes : 0;
  } catch (...) {
    transfer.thrown = std::current_exception();
    return 0;
  }
}

// libcurl asks this at least once a second, bytes or none; a non-zero answer ends the transfer.
int CheckStop(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::stop_token*>(stop)->stop_requested() ? 1 : 0;
}

// The answer's header name, when it is one line of printable ASCII of a sane length.
std::string Validator(const CurlLibrary& lib, CURL* curl, const char* name) {
  curl_header* header = nullptr;
  if (lib.easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK) return {};
  const std::string_view value = header->value;
  if (value.size() > kMaxValidator) return {};
  for (char c : value) {
    if (c < ' ' || c > '~') return {};
  }
  return std::string(value);
}

}  // namespace

HttpAnswer HttpGet(const std::string& url, const std::vector<std::string>& headers,
                   const std::function<bool(std::string_view)>& body, const std::stop_token& stop) {
  HttpAnswer answer;
  const CurlLibrary* lib = Curl(answer.failure);
  if (lib == nullptr) return answer;
  std::unique_ptr<CURL, void (*)(CURL*)> curl(lib->easy_init(), lib->easy_cleanup);
  if (!curl) {
    answer.failure = "libcurl could not be started";
    return answer;
  }
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> lines(nullptr, lib->slist_free_all);
  for (const std::string& header : headers) {
    curl_slist* longer = lib->slist_append(lines.get(), header.c_str());
    if (longer == nullptr) throw std::bad_alloc();
    lines.release();
    lines.reset(longer);
  }
  Transfer transfer{lib, curl.get(), &body, 0, nullptr};
  char words[CURL_ERROR_SIZE] = "";
  CURL* c = curl.get();
  lib->easy_setopt(c, CURLOPT_URL, url.c_str());
  lib->easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  lib->easy_setopt(c, CURLOPT_HTTPHEADER, lines.get());
  lib->easy_setopt(c, CURLOPT_USERAGENT, kUserAgent.c_str());
  lib->easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // every encoding libcurl can decode
  lib->easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  lib->easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  lib->easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  lib->easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  lib->easy_setopt(c, CURLOPT_ERRORBUFFER, words);
  lib->easy_setopt(c, CURLOPT_WRITEFUNCTION, TakeBody);
  lib->easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
  if (stop.stop_possible()) {
    lib->easy_setopt(c, CURLOPT_XFERINFOFUNCTION, CheckStop);
    lib->easy_setopt(c, CURLOPT_XFERINFODATA, &stop);
    lib->easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  }
  const CURLcode result = lib->easy_perform(c);
  if (transfer.thrown) std::rethrow_exception(transfer.thrown);
  lib->easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
  answer.etag = Validator(*lib, c, "ETag");
  answer.lastModified = Validator(*lib, c, "Last-Modified");
  answer.stopped = result == CURLE_ABORTED_BY_CALLBACK && stop.stop_requested();
  if (result != CURLE_OK) answer.failure = words[0] != '\0' ? words : lib->easy_strerror(result);
  return answer;
}

}  // namespace tessik
