#include "platform/side_by_side.h"

#include <system_error>
#include <thread>
#include <vector>

namespace tessik {

void SideBySide(size_t count, const std::function<void(size_t)>& task) {
  std::vector<std::thread> threads;
  size_t inTurn = count;  // the first task not given a thread
  for (size_t i = 1; i < count && inTurn == count; ++i) {
    try {
      threads.emplace_back(task, i);
    } catch (const std::system_error&) {
      inTurn = i;
    }
  }
  if (count > 0) task(0);
  for (size_t i = inTurn; i < count; ++i) task(i);
  for (std::thread& thread : threads) thread.join();
}

}  // namespace tessik
