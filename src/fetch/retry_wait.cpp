#include "fetch/retry_wait.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>

#include "base/decimal.h"
#include "fetch/fetch_error.h"

namespace tessik {

namespace {

constexpr char kWaitVariable[] = "TESSIK_FETCH_WAIT_SECONDS";
constexpr int kFullMinute = 60;

}  // namespace

int LichessWaitSeconds(std::string_view server, std::string_view account) {
  const char* set = std::getenv(kWaitVariable);
  if (set == nullptr) return kFullMinute;
  const std::string_view text = set;
  const bool digits = !text.empty() && text.size() <= 4 &&
                      text.find_first_not_of("0123456789") == std::string_view::npos;
  const int seconds = digits ? ParseDecimal(text) : -1;
  if (seconds < 0 || seconds > 3600) {
    throw FetchError(server, account, 0,
                     std::string(kWaitVariable) + " must be a whole number of seconds, 0 to 3600");
  }
  return seconds;
}

void WaitForServer(std::string_view server, int seconds,
                   const std::function<void(std::string_view)>& progress,
                   const std::stop_token& stop) {
  if (progress) {
    progress(std::string(server) + " asks for fewer requests: asking again in " +
             std::to_string(seconds) + (seconds == 1 ? " second" : " seconds"));
  }
  std::mutex mutex;
  std::condition_variable_any stopped;
  std::unique_lock lock(mutex);
  stopped.wait_for(lock, stop, std::chrono::seconds(seconds), [] { return false; });
}

}  // namespace tessik
