#include "view/figures_ahead.h"

#include <algorithm>

namespace tessik {

void FiguresAhead::Start(std::vector<StatsPage*> pages, const StatsInput& input) {
  Stop();
  if (pages.empty()) return;
  input_.emplace(input);
  waiting_.assign(pages.begin(), pages.end());
  thread_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (WorkOutNext(lock)) {
    }
  });
}

bool FiguresAhead::WorkOutNext(std::unique_lock<std::mutex>& lock) {
  if (waiting_.empty()) return false;
  StatsPage* page = waiting_.front();
  waiting_.pop_front();
  working_.insert(page);
  const StatsInput input = *input_;
  lock.unlock();
  std::optional<std::any> figures;
  try {
    figures = page->Figures(input);
  } catch (...) {
    // None kept: Take works them out again, and what failed fails where the tab is drawn.
  }
  lock.lock();
  working_.erase(page);
  if (figures) figures_[page] = std::move(*figures);
  done_.notify_all();
  return true;
}

std::any FiguresAhead::Take(StatsPage* page, const StatsInput& input) {
  std::unique_lock lock(mutex_);
  std::erase(waiting_, page);  // worked out below, now
  while (working_.contains(page)) {
    if (!WorkOutNext(lock)) done_.wait(lock);
  }
  if (const auto found = figures_.find(page); found != figures_.end()) {
    std::any figures = std::move(found->second);
    figures_.erase(found);
    return figures;
  }
  lock.unlock();
  return page->Figures(input);
}

void FiguresAhead::Stop() {
  {
    const std::lock_guard lock(mutex_);
    waiting_.clear();
  }
  if (thread_.joinable()) thread_.join();
  figures_.clear();
  input_.reset();
}

}  // namespace tessik
