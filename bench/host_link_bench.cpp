// The host link, in one run: a finger's way from the host to the plug-in and its score line's way
// back, on a log of 100,000 games, beside a bare Unix datagram ping-pong between two processes
// and the look-up's own time; a burst of 100,000 datagrams that record nothing, beside a bare
// Unix datagram stream between two processes.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "figure_report.h"
#include "generated_log.h"
#include "host_session.h"
#include "reports/score_report.h"

namespace {

constexpr int kGames = 100000;
constexpr int kOpponents = 5000;
constexpr int kBurst = 100000;

const GeneratedLogFolder& Log() {
  static GeneratedLogFolder folder(kGames, kOpponents);
  return folder;
}

// The real plug-in under the substitute host, with ann logged in on the log.
struct LoggedInPlugin {
  LoggedInPlugin() {
    std::string error;
    ok = session.Start(TESSIK, directory, 1 << 16, error) && Play({"2", "0", "ann"}) &&
         session.Play({0, vexmoor::Verb::kSync, {}}, directory, error);
  }
  bool Play(std::vector<std::string> datagram) {
    std::string error;
    return session.Play({0, vexmoor::Verb::kDatagram, std::move(datagram)}, directory, error);
  }

  std::string directory = Log().directory.string();
  std::ostringstream out, notes;
  vexmoor::HostSession session{out, notes};
  bool ok = false;
};

LoggedInPlugin& Plugin() {
  static LoggedInPlugin plugin;
  return plugin;
}

void BM_FingerRoundTrip(benchmark::State& state) {
  LoggedInPlugin& plugin = Plugin();
  if (!plugin.ok) state.SkipWithError("the plug-in did not start");
  for (auto _ : state) {
    if (!plugin.Play({"1", "130", "Finger of Player42:"}) ||
        !plugin.session.AwaitMessage(std::chrono::seconds(10))) {
      state.SkipWithError("no score line came back");
      break;
    }
    state.PauseTiming();  // the rest of the answer, if any
    while (plugin.session.AwaitMessage(std::chrono::milliseconds(2))) {
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FingerRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The look-up a finger asks for, alone, on the same log in memory.
void BM_LookupAlone(benchmark::State& state) {
  const std::vector<tessik::GameRecord> log = GenerateGameLog(kGames, kOpponents);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tessik::LookupScoreLines(log, "Player42", {4, 0, false, false}));
  }
}
BENCHMARK(BM_LookupAlone)->Unit(benchmark::kMicrosecond);

// How long the look-up takes, the median of a few.
std::chrono::nanoseconds LookupTime() {
  static const std::chrono::nanoseconds median = [] {
    const std::vector<tessik::GameRecord> log = GenerateGameLog(kGames, kOpponents);
    std::vector<std::chrono::nanoseconds> times;
    for (int i = 0; i < 21; ++i) {
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(tessik::LookupScoreLines(log, "Player42", {4, 0, false, false}));
      times.push_back(std::chrono::steady_clock::now() - start);
    }
    std::nth_element(times.begin(), times.begin() + 10, times.end());
    return times[10];
  }();
  return median;
}

// One byte there and back between two processes over a Unix datagram socket pair; the echo
// first works (spins) for work. With the look-up's time, this is the floor of a round trip
// whose answer takes that long: a processor left idle that long wakes more slowly, above all
// in a virtual machine.
void PingPong(benchmark::State& state, std::chrono::nanoseconds work) {
  int pair[2];
  socketpair(AF_UNIX, SOCK_DGRAM, 0, pair);
  const pid_t echo = fork();
  if (echo == 0) {
    char byte;
    while (recv(pair[1], &byte, 1, 0) == 1 && byte != 'q') {
      for (const auto end = std::chrono::steady_clock::now() + work;
           std::chrono::steady_clock::now() < end;) {
      }
      send(pair[1], &byte, 1, 0);
    }
    _exit(0);
  }
  char byte = 'p';
  for (auto _ : state) {
    send(pair[0], &byte, 1, 0);
    recv(pair[0], &byte, 1, 0);
  }
  send(pair[0], "q", 1, 0);
  waitpid(echo, nullptr, 0);
  close(pair[0]);
  close(pair[1]);
}

void BM_BareDatagramPingPong(benchmark::State& state) { PingPong(state, {}); }
BENCHMARK(BM_BareDatagramPingPong)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BareDatagramPingPongWithTheLookupsTime(benchmark::State& state) {
  PingPong(state, LookupTime());
  state.counters["work_us"] = std::chrono::duration<double, std::micro>(LookupTime()).count();
}
BENCHMARK(BM_BareDatagramPingPongWithTheLookupsTime)->Unit(benchmark::kMicrosecond)->UseRealTime();

// kBurst datagrams the plug-in only reads (the server's "idle" notice, 62), until it has read
// them all.
void BM_BurstToThePlugin(benchmark::State& state) {
  LoggedInPlugin& plugin = Plugin();
  if (!plugin.ok) state.SkipWithError("the plug-in did not start");
  for (auto _ : state) {
    for (int i = 0; i < kBurst; ++i) {
      if (!plugin.Play({"2", "62"})) {
        state.SkipWithError("a datagram was lost");
        return;
      }
    }
    std::string error;
    if (!plugin.session.Play({0, vexmoor::Verb::kSync, {}}, plugin.directory, error)) {
      state.SkipWithError("the plug-in did not catch up");
    }
  }
  state.counters["messages_per_s"] =
      benchmark::Counter(kBurst, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BurstToThePlugin)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// kBurst datagrams of a finger's size from one process to another that reads them all.
void BM_BareDatagramStream(benchmark::State& state) {
  for (auto _ : state) {
    int pair[2];
    socketpair(AF_UNIX, SOCK_DGRAM, 0, pair);
    const pid_t reader = fork();
    if (reader == 0) {
      char message[64];
      for (int i = 0; i < kBurst; ++i) recv(pair[1], message, sizeof message, 0);
      send(pair[1], "d", 1, 0);
      _exit(0);
    }
    const char message[32] = "Finger of Player42:";
    for (int i = 0; i < kBurst; ++i) send(pair[0], message, sizeof message, 0);
    char done;
    recv(pair[0], &done, 1, 0);
    waitpid(reader, nullptr, 0);
    close(pair[0]);
    close(pair[1]);
  }
  state.counters["messages_per_s"] =
      benchmark::Counter(kBurst, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BareDatagramStream)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  Log();
  return RunBenchmarksWithFigures(
      argc, argv,
      {{"(finger round trip - look-up) / bare ping-pong", "BM_FingerRoundTrip/real_time",
        "BM_BareDatagramPingPong/real_time", AtMost(3), "BM_LookupAlone"},
       {"finger round trip / bare ping-pong whose echo works as long as the look-up",
        "BM_FingerRoundTrip/real_time", "BM_BareDatagramPingPongWithTheLookupsTime/real_time",
        std::nullopt},
       {"burst to the plug-in / bare stream, in time (the inverse of their rates)",
        "BM_BurstToThePlugin/iterations:3/real_time",
        "BM_BareDatagramStream/iterations:3/real_time", AtMost(3)}});
}
