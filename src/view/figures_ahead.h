// The figures of the tabs not shown, worked out on a thread of their own while the user reads the
// tab shown: a tab turned to then draws figures worked out already, or being worked out.
#pragma once

#include <any>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "view/stats_page.h"

namespace tessik {

class FiguresAhead {
 public:
  FiguresAhead() = default;
  FiguresAhead(const FiguresAhead&) = delete;
  FiguresAhead& operator=(const FiguresAhead&) = delete;
  ~FiguresAhead() { Stop(); }

  // Starts working out the figures of pages from input, one after the other. What input refers
  // to must stay as it is until Stop.
  void Start(std::vector<StatsPage*> pages, const StatsInput& input);
  // page's figures from input: those worked out ahead, or else worked out now. While the thread
  // works out page's, this one works out those of the pages still waiting.
  std::any Take(StatsPage* page, const StatsInput& input);
  // Works out no more figures, and forgets those worked out (the input changes).
  void Stop();
  // Whether it was started since it was last stopped.
  bool Started() const { return input_.has_value(); }

 private:
  // Works out the figures of the first page waiting, with lock held before and after; false
  // when none is waiting.
  bool WorkOutNext(std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable done_;
  std::optional<StatsInput> input_;
  std::deque<StatsPage*> waiting_;
  std::set<StatsPage*> working_;
  std::map<StatsPage*, std::any> figures_;
  std::thread thread_;
};

}  // namespace tessik
