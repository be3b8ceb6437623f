// Memory asked for in huge pages.
#pragma once

#include <cstddef>
#include <vector>

namespace tessik {

// Asks for the whole pages of bytes at begin in huge pages where the system gives them on
// request: a large block filled soon after then costs one page fault per two megabytes instead
// of one per four kilobytes, and new pages are dear in virtual machines.
void AdviseHugePages(void* begin, size_t bytes);
// For a program's start: its heap grows at once by bytes, asked for in huge pages, and keeps what
// is freed to serve again. A command that builds tables of tens of thousands of entries one after
// another then touches a few huge pages instead of thousands of small ones.
void GrowHeapInHugePages(size_t bytes);
// The same for the room a list has reserved.
template <typename T>
void AdviseHugePages(std::vector<T>& list) {
  AdviseHugePages(list.data(), list.capacity() * sizeof(T));
}

}  // namespace tessik
