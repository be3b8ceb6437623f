// Per-thread message queues: a Unix datagram socket bound in the abstract namespace to
// "Vexmoor2.ThreadQueue.<tid>", one 12-byte little-endian packet per message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessik {

struct ThreadMessage {
  uint32_t message = 0;
  uint32_t wParam = 0;
  uint32_t lParam = 0;
};

inline constexpr size_t kThreadMessageBytes = 12;

// The same number in every process for the same name (letter case ignored), 0xC000..0xFFFF.
uint32_t RegisterWindowMessageA(std::string_view name);

// The kernel's thread id; the main thread's id is the process id.
uint32_t GetCurrentThreadId();

std::string ThreadQueueName(uint32_t threadId);

// Posts without blocking. Fails (false, last error set) when the thread has no queue or its
// queue is full.
bool PostThreadMessageA(uint32_t threadId, uint32_t message, uint32_t wParam, uint32_t lParam);

// The calling thread's own queue.
class ThreadQueue {
 public:
  ThreadQueue() = default;
  ThreadQueue(const ThreadQueue&) = delete;
  ThreadQueue& operator=(const ThreadQueue&) = delete;
  ~ThreadQueue();

  // Binds the queue of the calling thread; posts to it succeed from then on.
  bool Bind();
  // The socket to watch for readability.
  int Descriptor() const { return socket_; }
  // Takes the next message without blocking; false when none is waiting. Packets of another
  // user's processes and packets of the wrong size are dropped.
  bool Receive(ThreadMessage& message);

 private:
  int socket_ = -1;
};

}  // namespace tessik
