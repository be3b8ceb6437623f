// chess.com: the list of an account's months, then each month wanted as one JSON answer, oldest
// first.
#include <algorithm>
#include <string>

#include "base/text.h"
#include "fetch/answer_check.h"
#include "fetch/base_url.h"
#include "fetch/chesscom_json.h"
#include "fetch/online_fetch.h"
#include "fetch/retry_wait.h"

namespace tessik {

namespace {

constexpr char kServer[] = "chess.com";
// chess.com's waits after a 429, as parts of lichess's minute: they double, 5 s to 80 s.
constexpr int kFirstWaitPart = 12;
constexpr int kMaxWaits = 5;

struct Document {
  HttpAnswer answer;
  std::string body;
};

// One JSON answer read whole, limit bytes at most; throws FetchError unless it came whole.
Document GetDocument(std::string_view account, const std::string& url,
                     const std::vector<std::string>& headers, size_t limit,
                     const std::vector<int>& waits, const FetchHooks& hooks) {
  Document document;
  bool tooLarge = false;
  document.answer = AskPatiently(kServer, waits, hooks.progress, hooks.stop, [&] {
    document.body.clear();
    return HttpGet(
        url, headers,
        [&](std::string_view bytes) {
          tooLarge = document.body.size() + bytes.size() > limit;
          if (!tooLarge) document.body += bytes;
          return !tooLarge;
        },
        hooks.stop);
  });
  if (document.answer.stopped) throw FetchStopped(kServer, account);
  const long status = document.answer.status;
  if (status == 304) return document;
  if (status != 200) ThrowForAnswer(kServer, account, document.answer);
  if (tooLarge) {
    throw FetchError(
        kServer, account, status,
        "an answer longer than " + std::to_string(limit >> 20) + " MiB; stopped there");
  }
  if (!document.answer.failure.empty()) {
    throw FetchError(kServer, account, status, "the answer broke off: " + document.answer.failure);
  }
  return document;
}

// The months to ask for: each one not fetched yet, and the newest fetched again.
std::vector<std::string> Wanted(const std::vector<std::string>& months,
                                const std::vector<FetchedMonth>& fetched) {
  std::string newest;
  for (const FetchedMonth& archive : fetched) newest = std::max(newest, archive.month);
  std::vector<std::string> wanted;
  for (const std::string& month : months) {
    const bool known = std::any_of(fetched.begin(), fetched.end(),
                                   [&](const FetchedMonth& a) { return a.month == month; });
    if (!known || month == newest) wanted.push_back(month);
  }
  return wanted;
}

// The validators of the month's last answer, as conditions of the next request.
std::vector<std::string> Conditions(const std::string& month,
                                    const std::vector<FetchedMonth>& fetched) {
  std::vector<std::string> headers;
  for (const FetchedMonth& archive : fetched) {
    if (archive.month != month) continue;
    if (!archive.etag.empty()) headers.push_back("If-None-Match: " + archive.etag);
    if (!archive.lastModified.empty()) {
      headers.push_back("If-Modified-Since: " + archive.lastModified);
    }
  }
  return headers;
}

}  // namespace

void FetchChessCom(std::string_view account, const std::vector<FetchedMonth>& fetched,
                   const FetchHooks& hooks) {
  RequireAccountName(kServer, account);
  // Months are asked of the base URL, never of a host an answer names: a mirror serves them all.
  const std::string games =
      BaseUrl(kServer, account, "TESSIK_CHESSCOM_URL", "https://api.chess.com") + "/pub/player/" +
      FoldedCase(account) + "/games/";
  const int firstWait = LichessWaitSeconds(kServer, account) / kFirstWaitPart;
  std::vector<int> waits;
  for (int i = 0; i < kMaxWaits; ++i) waits.push_back(firstWait << i);
  const Document list =
      GetDocument(account, games + "archives", {}, kMaxArchiveListBytes, waits, hooks);
  const std::optional<std::vector<std::string>> months = ArchiveMonths(list.body);
  if (!months) {
    throw FetchError(kServer, account, 200, "the list of months is not the JSON expected");
  }
  for (const std::string& month : Wanted(*months, fetched)) {
    const Document answer = GetDocument(account, games + month, Conditions(month, fetched),
                                        kMaxMonthBytes, waits, hooks);
    if (answer.answer.status == 304) {
      if (hooks.progress) hooks.progress(month + ": nothing new");
      continue;
    }
    std::optional<std::vector<FetchedGame>> monthGames = MonthGames(answer.body);
    if (!monthGames) {
      throw FetchError(kServer, account, 200,
                       "the games of " + month + " are not the JSON expected");
    }
    const size_t count = monthGames->size();
    hooks.month({month, answer.answer.etag, answer.answer.lastModified}, std::move(*monthGames));
    if (hooks.progress) hooks.progress(month + ": " + GamesText(count));
  }
}

}  // namespace tessik
