// Work done on several cores at once.
#pragma once

#include <cstddef>
#include <functional>

namespace tessik {

// Runs task(0) ... task(count - 1) at once: the first in this thread, each other in a thread of
// its own (in turn in this one when no thread can be made). Returns when all have returned.
void SideBySide(size_t count, const std::function<void(size_t)>& task);

}  // namespace tessik
