#include "fetch/http_exchange.h"

#include <curl/curl.h>

#include <exception>
#include <memory>
#include <stdexcept>

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
  CURL* curl;
  const std::function<bool(std::string_view)>* body;
  size_t dropped = 0;
  std::exception_ptr thrown;
};

size_t TakeBody(char* data, size_t size, size_t count, void* context) {
  Transfer& transfer = *static_cast<Transfer*>(context);
  const size_t bytes = size * count;
  long status = 0;
  curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
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

// The answer's header name, when it is one line of printable ASCII of a sane length.
std::string Validator(CURL* curl, const char* name) {
  curl_header* header = nullptr;
  if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK) return {};
  const std::string_view value = header->value;
  if (value.size() > kMaxValidator) return {};
  for (char c : value) {
    if (c < ' ' || c > '~') return {};
  }
  return std::string(value);
}

}  // namespace

HttpAnswer HttpGet(const std::string& url, const std::vector<std::string>& headers,
                   const std::function<bool(std::string_view)>& body) {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  HttpAnswer answer;
  std::unique_ptr<CURL, void (*)(CURL*)> curl(initialised == CURLE_OK ? curl_easy_init() : nullptr,
                                              curl_easy_cleanup);
  if (!curl) {
    answer.failure = "libcurl could not be started";
    return answer;
  }
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> lines(nullptr, curl_slist_free_all);
  for (const std::string& header : headers) {
    curl_slist* longer = curl_slist_append(lines.get(), header.c_str());
    if (longer == nullptr) throw std::bad_alloc();
    lines.release();
    lines.reset(longer);
  }
  Transfer transfer{curl.get(), &body, 0, nullptr};
  char words[CURL_ERROR_SIZE] = "";
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, lines.get());
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent.c_str());
  curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // every encoding libcurl can decode
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, words);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, TakeBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
  const CURLcode result = curl_easy_perform(c);
  if (transfer.thrown) std::rethrow_exception(transfer.thrown);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
  answer.etag = Validator(c, "ETag");
  answer.lastModified = Validator(c, "Last-Modified");
  if (result != CURLE_OK) answer.failure = words[0] != '\0' ? words : curl_easy_strerror(result);
  return answer;
}

}  // namespace tessik
