// Peers that break the rules: dead processes, other users, odd packets, a foreign directory.
#include "platform/thread_queue.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/last_error.h"
#include "platform/shared_memory.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

constexpr uid_t kOtherUser = 65534;

// A datagram socket bound to path, or connected to it; -1 when that fails.
int Socket(const std::string& path, bool bind) {
  int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{AF_UNIX, {}};
  path.copy(address.sun_path, path.size());
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  if ((bind ? ::bind : connect)(fd, raw, sizeof address) == 0) return fd;
  close(fd);
  return -1;
}

bool Send(int fd, size_t size) {
  const unsigned char packet[16] = {0x25, 0xD4, 1};
  return fd >= 0 && send(fd, packet, size, 0) == static_cast<ssize_t>(size);
}

// Whether attempt succeeds in a child process that has become another user (false unless root).
bool AsAnotherUser(const std::function<bool()>& attempt) {
  if (geteuid() != 0) return false;
  pid_t child = fork();
  if (child == 0) {
    _exit(setgroups(0, nullptr) == 0 && setresgid(kOtherUser, kOtherUser, kOtherUser) == 0 &&
          setresuid(kOtherUser, kOtherUser, kOtherUser) == 0 && attempt());
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  return status == 1 << 8;
}

TEST(ThreadQueue, OnlyWholeMessagesOfTheUsersOwnProcessesArrive) {
  const uint32_t self = GetCurrentThreadId();
  const std::string path = ThreadQueuePath(self);
  unlink(path.c_str());
  EXPECT_FALSE(PostThreadMessageA(self, 0xC301, 1, 2));  // no queue
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(AsAnotherUser([&] { return Socket(path, true) >= 0; })) << "bound";
  close(Socket(path, true));  // left by a process that died
  {
    ThreadQueue queue;
    ASSERT_TRUE(queue.Bind());
    int connected = Socket(path, false);
    ASSERT_TRUE(Send(connected, 5));  // not a message's 12 bytes
    EXPECT_EQ(AsAnotherUser([&] { return Send(connected, 12); }), geteuid() == 0);
    EXPECT_FALSE(AsAnotherUser([&] { return Send(Socket(path, false), 12); })) << "sent";
    int accepted = 0;  // until the queue is full: then a post fails at once
    while (accepted < 1000 && PostThreadMessageA(self, 0xC301, accepted, 0xFFFFFFFF)) ++accepted;
    EXPECT_LT(accepted, 1000);
    ThreadMessage message;
    for (uint32_t i = 0; i < uint32_t(accepted); ++i) {
      ASSERT_TRUE(queue.Receive(message));
      EXPECT_EQ(std::vector({message.message, message.wParam, message.lParam}),
                std::vector<uint32_t>({0xC301, i, 0xFFFFFFFF}));
    }
    EXPECT_FALSE(queue.Receive(message));
    close(connected);
  }
  EXPECT_NE(access(path.c_str(), F_OK), 0) << "the queue left its socket behind";
  ThreadQueue rebound;  // a queue bound again under the name: posts reach it
  ASSERT_TRUE(rebound.Bind());
  ThreadMessage message;
  EXPECT_TRUE(PostThreadMessageA(self, 0xC302, 7, 8) && rebound.Receive(message));
  EXPECT_EQ(message.wParam, 7u);
  // Posts to two threads' queues by turns keep one connection open, not one more a turn.
  std::atomic<uint32_t> other{0};  // the other thread, once its queue is bound
  std::atomic<bool> done{false};
  std::thread peer([&] {
    ThreadQueue queue;
    other = queue.Bind() ? GetCurrentThreadId() : self;
    while (!done) std::this_thread::yield();
  });
  while (other == 0) std::this_thread::yield();
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  const auto before = openFiles();
  for (uint32_t i = 0; i < 20; ++i)
    EXPECT_TRUE(PostThreadMessageA(i % 2 ? other.load() : self, 1, i, 0));
  EXPECT_LE(openFiles(), before + 1);
  done = true;
  peer.join();
}

// $XDG_RUNTIME_DIR/vexmoor2: its owner and mode (0: a link to a private directory); why it is
// not usable (empty: usable). Posts never go into a directory that is not usable, and a queue is
// bound in a fresh private one instead, which the environment names for posts and for the processes
// started from here.
TEST(ThreadQueue, TheQueueDirectoryMustBeTheUsersOwnAndClosedToOthers) {
  const std::string saved = getenv("XDG_RUNTIME_DIR") ? getenv("XDG_RUNTIME_DIR") : "";
  const uid_t self = geteuid(), other = self == 0 ? kOtherUser : self;  // root can chown
  const std::string fresh = "/tmp/vexmoor2-" + std::to_string(self) + ".";
  const std::string foreign = other == self ? "" : "it belongs to uid " + std::to_string(other);
  for (auto [owner, mode, fault] : {std::tuple{self, 0700, std::string()},
                                    {other, 0700, foreign},
                                    {self, 0701, std::string("its mode is 0701")},
                                    {self, 0, std::string("it is a symbolic link")}}) {
    const bool usable = fault.empty();
    TempDirectory runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const std::string dir = runtime / "vexmoor2";
    ASSERT_EQ(mode ? mkdir(dir.c_str(), 0) | chmod(dir.c_str(), mode) | chown(dir.c_str(), owner, 0)
                   : symlink(runtime.path().c_str(), dir.c_str()),
              0);
    const uint32_t thread = GetCurrentThreadId();
    EXPECT_FALSE(PostThreadMessageA(thread, 0xC400, 5, 6));
    EXPECT_EQ(GetLastError(), usable ? kErrorFileNotFound : kErrorAccessDenied) << owner << mode;
    std::string bound;
    {
      ThreadQueue queue;
      ASSERT_TRUE(queue.Bind()) << queue.BindFault();
      bound = ThreadQueuePath(thread);
      EXPECT_EQ(bound.rfind(usable ? dir + "/" : fresh, 0), 0u) << bound;
      EXPECT_EQ(queue.Detour().empty(), usable) << queue.Detour();
      if (!usable) {
        EXPECT_NE(queue.Detour().find(fault + "; the queues are in "), std::string::npos)
            << queue.Detour();
      }
      EXPECT_EQ(getenv(kQueueDirectoryVariable) != nullptr, !usable);
      ThreadMessage message;
      EXPECT_TRUE(PostThreadMessageA(thread, 0xC400, 5, 6) && queue.Receive(message)) << bound;
    }
    EXPECT_EQ(access(bound.substr(0, bound.rfind('/')).c_str(), F_OK) == 0, usable) << bound;
    EXPECT_EQ(getenv(kQueueDirectoryVariable), nullptr);
  }
  {  // a folder in the queue's place: the bind fails, with the system's error and reason
    TempDirectory runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ASSERT_EQ(mkdir((runtime / "vexmoor2").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(ThreadQueuePath(GetCurrentThreadId()).c_str(), 0700), 0);
    ThreadQueue queue;
    SetLastError(0);
    EXPECT_FALSE(queue.Bind());
    EXPECT_EQ(GetLastError(), LastErrorFromErrno(EADDRINUSE));
    EXPECT_EQ(queue.BindFault().rfind("cannot bind ", 0), 0u) << queue.BindFault();
  }
  // "<runtime>/vexmoor2/ThreadQueue.4294967295" and a NUL fit a socket's 108 bytes: 75 are left.
  TempDirectory base;
  const size_t npos = std::string::npos;
  for (size_t length : {75, 76}) {
    const std::string runtime = base / std::string(length - base.path().size() - 1, 'a');
    ASSERT_EQ(mkdir(runtime.c_str(), 0700), 0);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(ThreadQueuePath(1).rfind(runtime + "/vexmoor2/", 0), length == 75 ? 0 : npos);
  }
  saved.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  if (self != 0) return;  // shared memory of another user is never opened either
  const std::string name = "Vexmoor2.IPCFileMapping" + std::to_string(900000 + getpid() % 1000);
  int fd = shm_open(PosixObjectName(name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  EXPECT_EQ(ftruncate(fd, 4096) | fchown(fd, kOtherUser, kOtherUser) | close(fd), 0);
  EXPECT_EQ(OpenFileMappingA(name), kNoHandle);
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  shm_unlink(PosixObjectName(name).c_str());
}

}  // namespace
}  // namespace tessik
