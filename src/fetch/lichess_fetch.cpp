// lichess: one streamed answer of PGN, cut into whole games and handed on in batches.
#include <algorithm>
#include <chrono>
#include <string>

#include "base/text.h"
#include "fetch/answer_check.h"
#include "fetch/base_url.h"
#include "fetch/online_fetch.h"
#include "fetch/pgn_stream.h"
#include "fetch/retry_wait.h"

namespace tessik {

namespace {

constexpr char kServer[] = "lichess";
// The waits lichess may ask for before a download gives up.
constexpr int kMaxWaits = 3;

// A token is sent in a header line: a byte beyond printable ASCII could end the line and start
// another.
bool IsTokenText(const std::string& token) {
  return std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c <= '~'; });
}

// The games of one download: those made whole, handed on a batch at a time.
struct GameBatches {
  const FetchHooks& hooks;
  std::vector<FetchedGame> batch;
  size_t handedOn = 0;
  std::chrono::steady_clock::time_point begun;  // when the batch's first game came

  void Add(std::string&& pgn) {
    const auto now = std::chrono::steady_clock::now();
    if (batch.empty()) begun = now;
    batch.push_back({std::move(pgn), {}, {}, {}});
    if (batch.size() < kLichessBatchGames && now - begun < kLichessBatchTime) return;
    HandOn();
    if (hooks.progress) hooks.progress("lichess: " + GamesText(handedOn) + " so far");
  }
  void HandOn() {
    if (batch.empty()) return;
    handedOn += batch.size();
    hooks.games(std::move(batch));
    batch.clear();
  }
};

}  // namespace

void FetchLichess(std::string_view account, std::optional<int64_t> sinceMilliseconds,
                  const std::string& token, const FetchHooks& hooks) {
  RequireAccountName(kServer, account);
  if (!IsTokenText(token)) {
    throw FetchError(kServer, account, 0,
                     "the token holds a character no token has (a space or a control byte)");
  }
  std::string url = BaseUrl(kServer, account, "TESSIK_LICHESS_URL", "https://lichess.org") +
                    "/api/games/user/" + std::string(account) +
                    "?sort=dateAsc&finished=true&opening=true";
  if (sinceMilliseconds) url += "&since=" + std::to_string(*sinceMilliseconds);
  std::vector<std::string> headers = {"Accept: application/x-pgn"};
  if (!token.empty()) headers.push_back("Authorization: Bearer " + token);
  const std::vector<int> waits(kMaxWaits, LichessWaitSeconds(kServer, account));

  PgnStream stream(kMaxLichessGameBytes);
  PgnStream::Fault fault = PgnStream::Fault::None;
  GameBatches games{hooks, {}, 0, {}};
  const auto whole = [&games](std::string&& pgn) { games.Add(std::move(pgn)); };
  const HttpAnswer answer = AskPatiently(kServer, waits, hooks.progress, hooks.stop, [&] {
    return HttpGet(
        url, headers,
        [&](std::string_view bytes) {
          fault = stream.Feed(bytes, whole);
          return fault == PgnStream::Fault::None;
        },
        hooks.stop);
  });
  if (answer.status != 200) ThrowForAnswer(kServer, account, answer);
  if (fault == PgnStream::Fault::None && answer.failure.empty()) fault = stream.Finish(whole);
  if (fault == PgnStream::Fault::NotPgn) {
    throw FetchError(kServer, account, 200, "the answer is not PGN");
  }
  // Whatever else ended the transfer, the games made whole before it are kept.
  games.HandOn();
  if (answer.stopped) throw FetchStopped(kServer, account);
  const std::string received = "after " + GamesText(games.handedOn);
  if (fault == PgnStream::Fault::GameTooLarge) {
    throw FetchError(kServer, account, 200,
                     "a game longer than " + std::to_string(kMaxLichessGameBytes >> 20) +
                         " MiB; the download stopped there, " + received);
  }
  if (!answer.failure.empty()) {
    throw FetchError(kServer, account, 200,
                     "the download broke off " + received + ": " + answer.failure);
  }
  if (hooks.progress) hooks.progress("lichess: " + GamesText(games.handedOn));
}

}  // namespace tessik
