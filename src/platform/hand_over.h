// A long pass in two stages on two cores: one thread makes batches, the caller's thread uses them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tessik {

// Runs produce(hand) on a thread of its own while consume(batch) runs on the calling thread, on
// each batch produce hands on, in the order handed. hand(std::move(batch)) returns an empty batch
// to fill next: one consumed before, so that its memory serves again (at most kBatchesWaiting
// wait at once; hand blocks while they do). When consume throws, produce is stopped at its next
// hand and the exception rethrown here; an exception of produce is rethrown once consume has had
// every batch handed before it. Without a thread to be had, the two stages take turns on this one.
template <class Batch, class Produce, class Consume>
void HandOver(Produce produce, Consume consume) {
  constexpr size_t kBatchesWaiting = 4;
  struct Stopped {};  // unwinds produce once consume has failed
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Batch> waiting;
  std::vector<Batch> spare;
  bool produced = false, stopped = false;
  std::exception_ptr produceError;
  const auto hand = [&](Batch&& batch) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return stopped || waiting.size() < kBatchesWaiting; });
    if (stopped) throw Stopped{};
    waiting.push_back(std::move(batch));
    changed.notify_all();
    if (spare.empty()) return Batch{};
    Batch next = std::move(spare.back());
    spare.pop_back();
    return next;
  };
  std::thread producer;
  try {
    producer = std::thread([&] {
      try {
        produce(hand);
      } catch (const Stopped&) {
      } catch (...) {
        produceError = std::current_exception();
      }
      std::lock_guard lock(mutex);
      produced = true;
      changed.notify_all();
    });
  } catch (const std::system_error&) {
    produce([&consume](Batch&& batch) {
      consume(batch);
      return std::move(batch);
    });
    return;
  }
  try {
    for (;;) {
      Batch batch;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return produced || !waiting.empty(); });
        if (waiting.empty()) break;
        batch = std::move(waiting.front());
        waiting.pop_front();
        changed.notify_all();
      }
      consume(batch);
      std::lock_guard lock(mutex);
      spare.push_back(std::move(batch));
    }
  } catch (...) {
    {
      std::lock_guard lock(mutex);
      stopped = true;
      changed.notify_all();
    }
    producer.join();
    throw;
  }
  producer.join();
  if (produceError) std::rethrow_exception(produceError);
}

}  // namespace tessik
