#include "platform/thread_queue.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace tessik {
namespace {

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
  int sender = socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string name = ThreadQueueName(GetCurrentThreadId());
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  ASSERT_EQ(sendto(sender, "short", 5, 0, reinterpret_cast<sockaddr*>(&address), length), 5);
  close(sender);
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), 0xC200, 3, 4));
  ThreadMessage message;
  ASSERT_TRUE(queue.Receive(message));
  EXPECT_EQ(message.message, 0xC200u);
}

TEST(ThreadQueue, MessagesFromAnotherUserAreDropped) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to post as another user";
  ThreadQueue queue;
  ASSERT_TRUE(queue.Bind());
  uint32_t target = GetCurrentThreadId();
  pid_t child = fork();
  if (child == 0) {
    if (setresuid(65534, 65534, 65534) != 0) _exit(2);
    _exit(PostThreadMessageA(target, 0xC300, 1, 1) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);  // the post itself went through
  ThreadMessage message;
  EXPECT_FALSE(queue.Receive(message));
}

}  // namespace
}  // namespace tessik

#include <fcntl.h>
#include <sys/mman.h>

#include "platform/last_error.h"
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
