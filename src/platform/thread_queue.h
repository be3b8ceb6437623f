// Per-thread message queues: a Unix datagram socket bound to "ThreadQueue.<tid>" in a directory
// only the user may enter, one 12-byte little-endian packet per message.
//
// The desktop platform posts numbered messages to a thread's queue (PostThreadMessageA) and
// registers message names as numbers every process agrees on (RegisterWindowMessageA). Linux
// has neither. A datagram socket per thread keeps what the protocol relies on: a post never
// blocks, each message arrives whole or not at all, and the receiver can wait for it in the same
// event loop as its window (the socket is a file descriptor). The socket lives in a private
// directory, so that no other user can take its name or reach it; the credentials of each
// packet are checked as well. The desktop names stay, since the host speaks in them.
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

// The environment variable that names the queue directory when the usual one cannot be used. A
// process that had to bind in a directory of its own sets it, so that the plug-in a host starts
// afterwards binds, and posts, there too.
inline constexpr char kQueueDirectoryVariable[] = "VEXMOOR2_QUEUE_DIR";

// Where a thread's queue is bound: "<directory>/ThreadQueue.<tid>" in the directory of the
// user's queues: $VEXMOOR2_QUEUE_DIR when it is an absolute path; else $XDG_RUNTIME_DIR/vexmoor2
// when XDG_RUNTIME_DIR is an absolute path to a directory of the effective user that nobody else
// may use; otherwise /tmp/vexmoor2-<uid>. Paths too long for a socket's name are passed over.
std::string ThreadQueuePath(uint32_t threadId);

// Posts without blocking. Fails (false, last error set) when the thread has no queue or its
// queue is full, and with kErrorAccessDenied when the queue directory is not the user's own
// directory (a link, another user's, open to others). The calling thread stays connected to the
// queue it posted to last: the directory is checked when it connects.
bool PostThreadMessageA(uint32_t threadId, uint32_t message, uint32_t wParam, uint32_t lParam);

// The calling thread's own queue.
class ThreadQueue {
 public:
  ThreadQueue() = default;
  ThreadQueue(const ThreadQueue&) = delete;
  ThreadQueue& operator=(const ThreadQueue&) = delete;
  // Closes the queue and removes its socket file; then the directory Bind made for itself, when
  // nothing is left in it, and VEXMOOR2_QUEUE_DIR with it.
  ~ThreadQueue();

  // Binds the queue of the calling thread, making the queue directory (mode 0700) when it is
  // missing; posts to it succeed from then on. When that directory is not the user's own
  // (another user's /tmp/vexmoor2-<uid>, a link, open to others) or cannot be made, it binds in
  // a fresh private directory /tmp/vexmoor2-<uid>.XXXXXX instead, sets VEXMOOR2_QUEUE_DIR to it
  // and Detour() says why: nobody else can keep a queue from being bound. The environment then
  // changes, so bind before starting other threads. Fails (last error set, BindFault() says why)
  // only when no directory can be made or the socket cannot be bound.
  bool Bind();
  // Why the last Bind failed, for a message: the directory or socket and the reason.
  const std::string& BindFault() const { return fault_; }
  // Empty, or why the usual queue directory was passed over and where the queue went instead.
  const std::string& Detour() const { return detour_; }
  // The socket to watch for readability.
  int Descriptor() const { return socket_; }
  // Takes the next message without blocking; false when none is waiting. Packets of another
  // user's processes and packets of the wrong size are dropped.
  bool Receive(ThreadMessage& message);

 private:
  int socket_ = -1;
  std::string path_;
  std::string fault_;
  std::string detour_;
  std::string madeDirectory_;  // the private directory this queue made, if it made one
};

}  // namespace tessik
