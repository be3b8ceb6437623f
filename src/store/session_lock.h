// One session of a handle at a time writes the handle's files.
#pragma once

#include <string>

namespace tessik {

// An advisory lock (flock) on the file <dataDirectory><handle>.lock, held from a login to the
// end of its session. A second session of the handle (another host in the same folder) does
// not get it and leaves the files alone; whatever else rewrites the log takes it too.
class SessionLock {
 public:
  SessionLock() = default;
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  ~SessionLock() { Release(); }

  // Takes the lock without waiting. Returns an empty text, or why it could not be had:
  // "in use by another Tessik session", or the system's reason.
  std::string Take(const std::string& path);
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace tessik
