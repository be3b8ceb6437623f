#include "fetch/answer_check.h"

#include <string>

#include "fetch/fetch_error.h"
#include "fetch/retry_wait.h"

namespace tessik {

HttpAnswer AskPatiently(std::string_view server, const std::vector<int>& waits,
                        const std::function<void(std::string_view)>& progress,
                        const std::stop_token& stop, const std::function<HttpAnswer()>& ask) {
  HttpAnswer answer = ask();
  for (int seconds : waits) {
    if (answer.status != 429) break;
    WaitForServer(server, seconds, progress, stop);
    if (stop.stop_requested()) {
      answer.stopped = true;
      break;
    }
    answer = ask();
  }
  return answer;
}

void ThrowForAnswer(std::string_view server, std::string_view account, const HttpAnswer& answer) {
  if (answer.stopped) throw FetchStopped(server, account);
  switch (answer.status) {
    case 0:
      throw FetchError(server, account, 0, "no answer from the server: " + answer.failure);
    case 404:
      throw FetchError(server, account, 404, "no such account");
    case 429:
      throw FetchError(server, account, 429, "still too many requests after waiting; try later");
    default:
      throw FetchError(server, account, answer.status, "the server answered with an error");
  }
}

}  // namespace tessik
