#include "store/session_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/temp_directory.h"

namespace tessik {
namespace {

// One session of a handle at a time; a lock released twice (at the end of its session, then as
// the application ends) closes its file once: the second time the number may belong to a file
// opened since.
TEST(SessionLock, HeldByOneSessionAtATimeAndClosedOnce) {
  TempDirectory dir;
  const std::string path = dir / "ann.lock";
  const bool standardInput = fcntl(0, F_GETFD) != -1;
  SessionLock first, second;
  EXPECT_EQ(first.Take(path), "");
  EXPECT_EQ(second.Take(path), "in use by another Tessik session");
  first.Release();
  const int opened = open(path.c_str(), O_RDONLY | O_CLOEXEC);  // the number the lock freed
  first.Release();
  EXPECT_NE(fcntl(opened, F_GETFD), -1);
  EXPECT_EQ(fcntl(0, F_GETFD) != -1, standardInput);  // nor any other
  EXPECT_EQ(second.Take(path), "");
  close(opened);
}

}  // namespace
}  // namespace tessik
