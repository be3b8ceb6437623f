#include "platform/thread_queue.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

constexpr uid_t kOtherUser = 65534;

// The address of a queue's socket, as any process would write it.
sockaddr_un AddressOf(const std::string& path, socklen_t& length) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
  return address;
}

bool SendTo(const std::string& path, const void* bytes, size_t size) {
  int sender = socket(AF_UNIX, SOCK_DGRAM, 0);
  socklen_t length = 0;
  sockaddr_un address = AddressOf(path, length);
  bool sent = sendto(sender, bytes, size, 0, reinterpret_cast<sockaddr*>(&address), length) ==
              static_cast<ssize_t>(size);
  close(sender);
  return sent;
}

// A datagram socket bound to path and closed again: what a process that died leaves behind.
bool BindTo(const std::string& path) {
  int socketFd = socket(AF_UNIX, SOCK_DGRAM, 0);
  socklen_t length = 0;
  sockaddr_un address = AddressOf(path, length);
  bool bound = bind(socketFd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  close(socketFd);
  return bound;
}

// Runs attempt in a child process that has become another user; whether it succeeded.
bool SucceedsAsAnotherUser(const std::function<bool()>& attempt) {
  pid_t child = fork();
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setresgid(kOtherUser, kOtherUser, kOtherUser) != 0 ||
        setresuid(kOtherUser, kOtherUser, kOtherUser) != 0) {
      _exit(2);
    }
    _exit(attempt() ? 0 : 1);
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become another user";
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// XDG_RUNTIME_DIR set (or unset, for nullptr) until the end of the scope.
class RuntimeDirectory {
 public:
  explicit RuntimeDirectory(const char* value) {
    if (const char* old = std::getenv(kVariable)) saved_ = old;
    Set(value);
  }
  ~RuntimeDirectory() { Set(saved_ ? saved_->c_str() : nullptr); }
  RuntimeDirectory(const RuntimeDirectory&) = delete;
  RuntimeDirectory& operator=(const RuntimeDirectory&) = delete;

 private:
  static constexpr const char* kVariable = "XDG_RUNTIME_DIR";
  static void Set(const char* value) {
    if (value != nullptr) {
      setenv(kVariable, value, 1);
    } else {
      unsetenv(kVariable);
    }
  }
  std::optional<std::string> saved_;
};

void MakeDirectory(const std::string& path, mode_t mode, uid_t owner = geteuid()) {
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << path;
  ASSERT_EQ(chmod(path.c_str(), mode), 0) << path;
  ASSERT_EQ(chown(path.c_str(), owner, owner), 0) << path;
}

TEST(RegisteredMessages, SameNumberForTheSameNameInTheDesktopRange) {
  uint32_t newPipe = RegisterWindowMessageA("IPCNewPipe");
  uint32_t dataReady = RegisterWindowMessageA("IPCDataReady");
  EXPECT_EQ(newPipe, RegisterWindowMessageA("ipcnewpipe"));
  EXPECT_NE(newPipe, dataReady);
  for (uint32_t number : {newPipe, dataReady}) {
    EXPECT_GE(number, 0xC000u);
    EXPECT_LE(number, 0xFFFFu);
  }
}

TEST(ThreadQueue, PostedMessagesArriveInOrder) {
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  EXPECT_EQ(GetCurrentThreadId(), static_cast<uint32_t>(getpid()));
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), 0xC123, 7, 0xFFFFFFFF));
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), 0xC124, 8, 9));
  ThreadMessage message;
  ASSERT_TRUE(queue.Receive(message));
  EXPECT_EQ(message.message, 0xC123u);
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_EQ(message.lParam, 0xFFFFFFFFu);
  ASSERT_TRUE(queue.Receive(message));
  EXPECT_EQ(message.message, 0xC124u);
  EXPECT_FALSE(queue.Receive(message));
}

TEST(ThreadQueue, PostingToAThreadWithoutAQueueFails) {
  EXPECT_FALSE(PostThreadMessageA(GetCurrentThreadId(), 0xC123, 1, 2));
}

TEST(ThreadQueue, FullQueueFailsThePostWithoutBlocking) {
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  int accepted = 0;
  while (accepted < 1000 && PostThreadMessageA(GetCurrentThreadId(), 0xC123, 1, 2)) ++accepted;
  EXPECT_LT(accepted, 1000);
  ThreadMessage message;
  int received = 0;
  while (queue.Receive(message)) ++received;
  EXPECT_EQ(received, accepted);
}

TEST(ThreadQueue, PacketsOfTheWrongSizeAreDropped) {
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  ASSERT_TRUE(SendTo(ThreadQueuePath(GetCurrentThreadId()), "short", 5));
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), 0xC200, 3, 4));
  ThreadMessage message;
  ASSERT_TRUE(queue.Receive(message));
  EXPECT_EQ(message.message, 0xC200u);
}

TEST(ThreadQueue, MessagesFromAnotherUserAreDropped) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to post as another user";
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  // Connected while the process could still reach the queue, used after it changed user.
  int sender = socket(AF_UNIX, SOCK_DGRAM, 0);
  socklen_t length = 0;
  sockaddr_un address = AddressOf(ThreadQueuePath(GetCurrentThreadId()), length);
  ASSERT_EQ(connect(sender, reinterpret_cast<sockaddr*>(&address), length), 0);
  const unsigned char packet[kThreadMessageBytes] = {0x00, 0xC3};
  EXPECT_TRUE(SucceedsAsAnotherUser([&] {
    return send(sender, packet, sizeof packet, 0) == static_cast<ssize_t>(sizeof packet);
  }));
  close(sender);
  ThreadMessage message;
  EXPECT_FALSE(queue.Receive(message));
}

TEST(ThreadQueue, AnotherUserCanNeitherTakeTheNameNorReachTheQueue) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const uint32_t self = GetCurrentThreadId();
  const std::string path = ThreadQueuePath(self);
  EXPECT_FALSE(SucceedsAsAnotherUser([&] { return BindTo(path); })) << "bound the name first";
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  const unsigned char packet[kThreadMessageBytes] = {0x25, 0xD4, 1, 0, 0, 0, 0, 1};
  struct Attempt {
    const char* what;
    std::function<bool()> act;
  };
  for (const Attempt& attempt : {
           Attempt{"send to the queue", [&] { return SendTo(path, packet, sizeof packet); }},
           Attempt{"bind the queue's name", [&] { return BindTo(path); }},
       }) {
    EXPECT_FALSE(SucceedsAsAnotherUser(attempt.act)) << attempt.what;
  }
  ThreadMessage message;
  EXPECT_FALSE(queue.Receive(message));
  ASSERT_TRUE(PostThreadMessageA(self, 0xC301, 2, 3));
  ASSERT_TRUE(queue.Receive(message));
  EXPECT_EQ(message.message, 0xC301u);
}

TEST(ThreadQueue, ASocketLeftByADeadProcessIsReplacedAndAQueueRemovesItsOwn) {
  const std::string path = ThreadQueuePath(GetCurrentThreadId());
  struct stat info {};
  {
    ThreadQueue queue;
    ASSERT_TRUE(queue.Bind());
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
  }
  EXPECT_NE(lstat(path.c_str(), &info), 0) << "left behind";
  ASSERT_TRUE(BindTo(path));
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), 0xC310, 1, 1));
  ThreadMessage message;
  EXPECT_TRUE(queue.Receive(message));
}

TEST(ThreadQueue, TheQueueDirectoryMustBeTheUsersOwnAndClosedToOthers) {
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;
    bool usable;
  };
  std::vector<Case> cases = {
      {"missing: made now", [](const std::string&) {}, true},
      {"a directory of mode 0700", [](const std::string& dir) { MakeDirectory(dir, 0700); }, true},
      {"mode 0755", [](const std::string& dir) { MakeDirectory(dir, 0755); }, false},
      {"mode 0701", [](const std::string& dir) { MakeDirectory(dir, 0701); }, false},
      {"a link to a directory of mode 0700",
       [](const std::string& dir) {
         MakeDirectory(dir + ".real", 0700);
         ASSERT_EQ(symlink((dir + ".real").c_str(), dir.c_str()), 0);
       },
       false},
      {"a regular file", [](const std::string& dir) { WriteFile(dir, ""); }, false},
  };
  if (geteuid() == 0) {
    cases.push_back({"another user's directory of mode 0700",
                     [](const std::string& dir) { MakeDirectory(dir, 0700, kOtherUser); }, false});
  }
  for (const Case& c : cases) {
    TempDirectory runtime;
    RuntimeDirectory scoped(runtime.path().c_str());
    const std::string dir = runtime / "vexmoor2";
    c.make(dir);
    const uint32_t refusal = c.usable ? 0 : kErrorAccessDenied;
    SetLastError(0);
    ThreadQueue queue;
    EXPECT_EQ(queue.Bind(), c.usable) << c.what;
    EXPECT_EQ(GetLastError(), refusal) << c.what;
    EXPECT_EQ(PostThreadMessageA(GetCurrentThreadId(), 0xC400, 5, 6), c.usable) << c.what;
    EXPECT_EQ(GetLastError(), refusal) << c.what;
    ThreadMessage message;
    EXPECT_EQ(queue.Receive(message), c.usable) << c.what;
    if (!c.usable) continue;
    struct stat info {};
    ASSERT_EQ(lstat(dir.c_str(), &info), 0) << c.what;
    EXPECT_EQ(info.st_mode & 07777, 0700u) << c.what;
  }
}

TEST(ThreadQueue, TheRuntimeDirectoryIsUsedOnlyWhenItIsPrivateToTheUser) {
  TempDirectory base;
  const std::string fallback = "/tmp/vexmoor2-" + std::to_string(geteuid());
  const std::string prefix = base / "";
  // A queue's socket name must fit into the 108 bytes of a socket address with its NUL:
  // "<runtime>/vexmoor2/ThreadQueue.4294967295" leaves 75 bytes for the runtime directory.
  const std::string longest = prefix + std::string(75 - prefix.size(), 'a');
  const std::string tooLong = prefix + std::string(76 - prefix.size(), 'b');
  MakeDirectory(base / "private", 0700);
  MakeDirectory(base / "open", 0750);
  MakeDirectory(longest, 0700);
  MakeDirectory(tooLong, 0700);
  ASSERT_EQ(symlink((base / "private").c_str(), (base / "link").c_str()), 0);
  struct Case {
    std::optional<std::string> runtime;
    std::string directory;
  };
  std::vector<Case> cases = {
      {std::nullopt, fallback},
      {"", fallback},
      {base / "private", base / "private/vexmoor2"},
      {longest, longest + "/vexmoor2"},
      {tooLong, fallback},
      {"tmp", fallback},
      {base / "open", fallback},
      {base / "link", fallback},
      {base / "missing", fallback},
  };
  if (geteuid() == 0) {
    MakeDirectory(base / "other", 0700, kOtherUser);
    cases.push_back({base / "other", fallback});
  }
  for (const Case& c : cases) {
    RuntimeDirectory scoped(c.runtime ? c.runtime->c_str() : nullptr);
    EXPECT_EQ(ThreadQueuePath(42), c.directory + "/ThreadQueue.42")
        << c.runtime.value_or("(unset)");
  }
}

}  // namespace
}  // namespace tessik

#include <fcntl.h>
#include <sys/mman.h>

#include "platform/shared_memory.h"

namespace tessik {
namespace {

TEST(SharedMemory, ObjectsOfAnotherUserAreNeverOpened) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make an object of another user";
  std::string name = "Vexmoor2.IPCFileMapping" + std::to_string(900000 + getpid() % 1000);
  int fd = shm_open(PosixObjectName(name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 4096), 0);
  ASSERT_EQ(fchown(fd, 65534, 65534), 0);
  close(fd);
  EXPECT_EQ(OpenFileMappingA(name), kNoHandle);
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  shm_unlink(PosixObjectName(name).c_str());
}

}  // namespace
}  // namespace tessik
