// The game log's lock: one write of a handle's log at a time.
#pragma once

#include <chrono>
#include <string>
#include <system_error>

namespace tessik {

// An advisory lock (flock) on the file <userName>.lock in the data folder, held only while the
// log is written: the append of a session's finished games, or the last step of a rewrite (the
// records the log gained while it was rebuilt are carried over, then the new log is renamed
// into place). Sessions of one handle, and the command line, may run side by side: none tears
// another's record, and no record is appended to a log that a rename is about to replace.
//
// No one holds it for longer than those few writes, so a writer waits for it, but only a
// bounded time: a process stopped while it holds the lock (a debugger, SIGSTOP) must not hang
// the plug-in's window.
class LogLock {
 public:
  LogLock() = default;
  LogLock(const LogLock&) = delete;
  LogLock& operator=(const LogLock&) = delete;
  ~LogLock() { Release(); }

  // Takes the lock of userName's log in folder (a directory's descriptor), waiting at most
  // wait. Returns no error, EWOULDBLOCK when another still held it at the end of the wait, or
  // the failure (the lock file cannot be made or opened: a link in its place is refused).
  std::error_code Take(int folder, const std::string& userName, std::chrono::milliseconds wait);
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace tessik
