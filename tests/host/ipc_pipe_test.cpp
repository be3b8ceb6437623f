#include "host/ipc_pipe.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "host_pipe.h"
#include "platform/last_error.h"
#include "platform/thread_queue.h"
#include "session/plugin_app.h"
#include "support/fake_main_window.h"
#include "support/test_pipes.h"

namespace tessik {
namespace {

// A pipe of this process as both writer and reader, notifications going to this thread.
class RingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(queue.Bind());
    id = UniqueOddPipeId();
    ASSERT_TRUE(vexmoor::CreateHostPipe(pipe, id, 16, GetCurrentThreadId()));
  }
  void TearDown() override { vexmoor::RemoveHostPipe(id); }

  void SetPositions(int32_t readPos, int32_t writePos) {
    pipe.Header()->readPos = readPos;
    pipe.Header()->writePos = writePos;
  }
  int Notifications() {
    int count = 0;
    for (ThreadMessage message; queue.Receive(message);) ++count;
    return count;
  }

  ThreadQueue queue;
  CIpcPipe pipe;
  int id = 0;
};

TEST_F(RingTest, WriteMustBeSmallerThanTheDataArea) {
  std::string bytes(16, 'x');
  EXPECT_TRUE(pipe.WriteIPC(bytes.data(), 15));
  SetPositions(0, 0);
  SetLastError(0);
  EXPECT_FALSE(pipe.WriteIPC(bytes.data(), 16));
  EXPECT_EQ(GetLastError(), kPipeWriteTooLarge);
  EXPECT_EQ(pipe.Header()->writePos, 0);
}

TEST_F(RingTest, OneByteAlwaysStaysFree) {
  SetPositions(5, 2);
  SetLastError(0);
  EXPECT_FALSE(pipe.WriteIPC("abc", 3));
  EXPECT_EQ(GetLastError(), kPipeNoSpace);
  EXPECT_EQ(pipe.Header()->readPos, 5);
  EXPECT_EQ(pipe.Header()->writePos, 2);
  EXPECT_TRUE(pipe.WriteIPC("ab", 2));
  EXPECT_EQ(pipe.Header()->writePos, 4);
  EXPECT_EQ(std::memcmp(pipe.dataArea + 2, "ab", 2), 0);
}

TEST_F(RingTest, WriteEndingAtTheEndWrapsThePosition) {
  SetPositions(10, 10);
  EXPECT_TRUE(pipe.WriteIPC("123456", 6));
  EXPECT_EQ(pipe.Header()->writePos, 0);
}

TEST_F(RingTest, ReadAllTakesTheTailFirstAcrossTheEnd) {
  SetPositions(12, 12);
  ASSERT_TRUE(pipe.WriteIPC("abcdefg", 7));
  EXPECT_EQ(pipe.Header()->writePos, 3);
  EXPECT_EQ(std::memcmp(pipe.dataArea + 12, "abcd", 4), 0);
  EXPECT_EQ(std::memcmp(pipe.dataArea, "efg", 3), 0);
  char out[16] = {};
  EXPECT_EQ(pipe.ReadIPC(out, -1), 7);
  EXPECT_STREQ(out, "abcdefg");
  EXPECT_EQ(pipe.Header()->readPos, pipe.Header()->writePos);
}

TEST_F(RingTest, ReadTakesAtMostCount) {
  ASSERT_TRUE(pipe.WriteIPC("abcdef", 6));
  char out[8] = {};
  EXPECT_EQ(pipe.ReadIPC(out, 4), 4);
  EXPECT_STREQ(out, "abcd");
  EXPECT_EQ(pipe.ReadIPC(out, 10), 2);
  EXPECT_EQ(std::memcmp(out, "ef", 2), 0);
}

TEST_F(RingTest, ReadOnAnEmptyPipeReturnsZero) {
  SetPositions(9, 9);
  char out[4];
  EXPECT_EQ(pipe.ReadIPC(out, -1), 0);
  EXPECT_EQ(pipe.Header()->readPos, 9);
}

TEST_F(RingTest, EachWriteNotifiesTheReaderWithPipeAndLength) {
  ASSERT_TRUE(pipe.WriteIPC("hello", -1));  // a text: its length without the NUL
  ThreadMessage message;
  ASSERT_TRUE(queue.Receive(message));
  EXPECT_EQ(message.message, g_ipcDataReadyMessage);
  EXPECT_EQ(message.wParam, static_cast<uint32_t>(id));
  EXPECT_EQ(message.lParam, 5u);
  EXPECT_EQ(pipe.Header()->writePos, 5);
}

TEST_F(RingTest, EmptyWriteSucceedsWithoutNotice) {
  EXPECT_TRUE(pipe.WriteIPC("", 0));
  EXPECT_EQ(Notifications(), 0);
  EXPECT_EQ(pipe.Header()->writePos, 0);
}

TEST_F(RingTest, PositionsOutsideTheRingAreNeverFollowed) {
  char out[16];
  SetPositions(-1, 3);
  EXPECT_EQ(pipe.ReadIPC(out, -1), -1);
  SetPositions(0, 16);
  EXPECT_EQ(pipe.ReadIPC(out, -1), -1);
  EXPECT_FALSE(pipe.WriteIPC("a", 1));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(pipe.Header()->readPos, 0);
}

// A host process that dies while it holds the pipe's mutex.
void KillWhileHoldingTheMutex(const CIpcPipe& pipe) {
  pid_t child = fork();
  if (child == 0) {
    pthread_mutex_lock(pipe.mutex.lock);
    raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
}

TEST_F(RingTest, AbandonedMutexIsReportedOnceAndThePipeKeepsWorking) {
  ASSERT_TRUE(pipe.WriteIPC("ab", 2));
  KillWhileHoldingTheMutex(pipe);
  char out[4];
  EXPECT_EQ(pipe.ReadIPC(out, -1), -1);
  EXPECT_EQ(GetLastError(), kPipeMutexAbandoned);
  EXPECT_EQ(pipe.Header()->readPos, 0);
  EXPECT_EQ(pipe.ReadIPC(out, -1), 2);
  EXPECT_TRUE(pipe.WriteIPC("cd", 2));
}

TEST_F(RingTest, AbandonedMutexFailsAWriteWithoutTouchingTheRing) {
  KillWhileHoldingTheMutex(pipe);
  EXPECT_FALSE(pipe.WriteIPC("ab", 2));
  EXPECT_EQ(GetLastError(), kPipeMutexAbandoned);
  EXPECT_EQ(pipe.Header()->writePos, 0);
  EXPECT_TRUE(pipe.WriteIPC("ab", 2));
}

TEST(UnopenedPipe, FailsWithoutTouchingMemory) {
  CIpcPipe pipe;
  char out[4];
  EXPECT_EQ(pipe.ReadIPC(out, -1), -1);
  EXPECT_FALSE(pipe.WriteIPC("a", 1));
  EXPECT_EQ(GetLastError(), kErrorInvalidHandle);
}

class AnnouncementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(queue.Bind());
    app.mainWindow = &window;
  }
  ThreadQueue queue;
  FakeMainWindow window;
  CPluginApp app;
};

TEST_F(AnnouncementTest, InputPipeNamesTheMainThreadAndOutputPipeIsLeftAlone) {
  TestPipes pipes;
  pipes.hostOutput.Header()->readerThreadId = 4242;
  app.OnIPCNewPipe(pipes.inputId, pipes.size);
  app.OnIPCNewPipe(pipes.outputId, pipes.size);
  EXPECT_EQ(pipes.hostInput.Header()->readerThreadId, static_cast<uint32_t>(getpid()));
  EXPECT_EQ(pipes.hostOutput.Header()->readerThreadId, 4242u);
  EXPECT_TRUE(g_inputPipe.isReader);
  EXPECT_FALSE(g_outputPipe.isReader);
  EXPECT_EQ(window.text, "");
}

TEST_F(AnnouncementTest, MissingInputPipeIsReportedInHexadecimal) {
  app.OnIPCNewPipe(UniqueOddPipeId(), 16384);
  EXPECT_EQ(window.text, "OpenIPC failed.  GetLastError = 2");
}

TEST_F(AnnouncementTest, SizeBeyondTheObjectIsRefusedNotMapped) {
  TestPipes pipes(64);
  app.OnIPCNewPipe(pipes.inputId, 1 << 20);
  EXPECT_EQ(window.text, "OpenIPC failed.  GetLastError = 57");  // 87: invalid parameter
  window.text.clear();
  app.OnIPCNewPipe(pipes.inputId, -5);
  EXPECT_EQ(window.text, "OpenIPC failed.  GetLastError = 57");
}

TEST_F(AnnouncementTest, SecondAnnouncementReplacesThePipeOnlyWhenItOpens) {
  TestPipes first;
  TestPipes second;
  app.OnIPCNewPipe(first.inputId, first.size);
  app.OnIPCNewPipe(UniqueOddPipeId(), 16384);  // fails: the first pipe stays in use
  EXPECT_EQ(g_inputPipe.pipeId, first.inputId);
  ASSERT_TRUE(first.hostInput.WriteIPC("x", 1));
  char out[4];
  EXPECT_EQ(g_inputPipe.ReadIPC(out, -1), 1);
  app.OnIPCNewPipe(second.inputId, second.size);
  EXPECT_EQ(g_inputPipe.pipeId, second.inputId);
  ASSERT_TRUE(second.hostInput.WriteIPC("yz", 2));
  EXPECT_EQ(g_inputPipe.ReadIPC(out, -1), 2);
}

}  // namespace
}  // namespace tessik
