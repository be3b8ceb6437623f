#include "host/ipc_pipe.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include "host/host_message.h"
#include "host_datagram.h"
#include "host_pipe.h"
#include "platform/last_error.h"
#include "support/test_pipes.h"

namespace tessik {
namespace {

using Bytes = std::vector<unsigned char>;

// A pipe of this process as writer and reader, a ring of 16 bytes, notices to this thread.
class PipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(queue.Bind());
    ASSERT_TRUE(vexmoor::CreateHostPipe(pipe, id, 16, GetCurrentThreadId()));
  }
  void TearDown() override { vexmoor::RemoveHostPipe(id); }
  // What a write did: "told <n>" when it notified the reader of n bytes, else why it failed.
  std::string Write(const std::string& bytes) {
    SetLastError(0);
    ThreadMessage notice{};
    bool wrote = pipe.WriteIPC(bytes.data(), static_cast<int>(bytes.size()));
    bool told = queue.Receive(notice) && notice.message == g_ipcDataReadyMessage &&
                notice.wParam == uint32_t(id);
    return !wrote ? "failed " + std::to_string(GetLastError())
           : told ? "told " + std::to_string(notice.lParam)
                  : "untold";
  }
  std::string Read(int count) {
    char out[16];
    int got = pipe.ReadIPC(out, count);
    return got < 0 ? "failed " + std::to_string(GetLastError()) : std::string(out, got);
  }

  ThreadQueue queue;
  const int id = UniqueOddPipeId();
  CIpcPipe pipe;
};

TEST_F(PipeTest, TheRingWrapsAroundKeepsOneByteFreeAndRefusesPositionsOutsideIt) {
  const std::string f15(15, 'f'), tooLarge = "failed " + std::to_string(kPipeWriteTooLarge),
                                  noSpace = "failed " + std::to_string(kPipeNoSpace),
                                  invalid = "failed " + std::to_string(kErrorInvalidData);
  // positions; the write and what it did; the read's count (-1: all) and what it got; positions
  const std::tuple<int, int, std::string, std::string, int, std::string, int, int> kCases[] = {
      {12, 12, "abcdefg", "told 7", -1, "abcdefg", 3, 3},
      {10, 10, "123456", "told 6", -1, "123456", 0, 0},
      {0, 0, "abcdef", "told 6", 4, "abcd", 4, 6},
      {0, 0, f15, "told 15", -1, f15, 15, 15},
      {0, 0, f15 + "f", tooLarge, -1, "", 0, 0},
      {5, 2, "abc", noSpace, 0, "", 5, 2},
      {5, 2, "ab", "told 2", 0, "", 5, 4},
      {9, 9, "", "untold", -1, "", 9, 9},
      {-1, 3, "", "untold", -1, invalid, -1, 3},
      {0, 16, "a", invalid, -1, invalid, 0, 16},
  };
  for (const auto& [readPos, writePos, bytes, wrote, count, read, readAfter, writeAfter] : kCases) {
    pipe.Header()->readPos = readPos;
    pipe.Header()->writePos = writePos;
    ASSERT_EQ(Write(bytes), wrote) << readPos << " " << writePos;  // or the next could block
    EXPECT_EQ(Read(count), read);
    EXPECT_EQ(std::vector({pipe.Header()->readPos, pipe.Header()->writePos}),
              std::vector({readAfter, writeAfter}));
  }
  // A negative length writes a NUL-terminated text, without its NUL.
  pipe.Header()->readPos = pipe.Header()->writePos = 0;
  ASSERT_TRUE(pipe.WriteIPC("text", -1));
  EXPECT_EQ(Read(-1), "text");
}

TEST_F(PipeTest, AMutexAbandonedByADeadHostFailsOneCallWithoutTouchingTheRing) {
  ASSERT_EQ(Write("ab"), "told 2");
  for (int call = 0; call < 2; ++call) {
    pid_t host = fork();
    if (host == 0) pthread_mutex_lock(pipe.mutex.lock), raise(SIGKILL);
    ASSERT_EQ(waitpid(host, nullptr, 0), host);
    EXPECT_EQ(call == 0 ? Read(-1) : Write("cd"), "failed " + std::to_string(kPipeMutexAbandoned));
  }
  EXPECT_EQ(Read(-1), "ab");
  EXPECT_EQ(Write("cd"), "told 2");
}

TEST_F(PipeTest, MessagesAreFramedAndEachIsDecodedOrPassedOverByItsLength) {
  TestPipes pipes(40000);
  CIpcPipe& big = pipes.hostOutput;
  ASSERT_TRUE(SendIPCText(big, kMsgServerCommand, "date\n"));
  EXPECT_TRUE(SendIPCValue(big, kMsgWantOtherDatagram, 0x1234));
  Bytes bytes(16);
  ASSERT_EQ(big.ReadIPC(bytes.data(), -1), 16);
  EXPECT_EQ(bytes, (Bytes{2, 0, 6, 0, 'd', 'a', 't', 'e', '\n', 0, 6, 0, 2, 0, 0x34, 0x12}));
  EXPECT_FALSE(SendIPCText(big, kMsgConsoleLine, std::string(32767, 'x')));  // with the NUL
  EXPECT_TRUE(SendIPCText(big, kMsgConsoleLine, std::string(32766, 'x')));   // 32767 at most
  const Bytes datagram = vexmoor::EncodeDatagram(2, 62, {"bob"});
  for (const Bytes& block :
       {FrameMessage(77, "abc", 3), FrameMessage(kMsgWantDatagram, "abc", 3),
        FrameMessage(kMsgWantDatagram, "\x34\x12", 2), FrameMessage(kMsgConnectionEnded, "99", 2),
        FrameMessage(kMsgDatagram, datagram.data(), datagram.size()),
        Bytes{1, 0, 0xFF, 0xFF, 'j', 'u', 'n', 'k'},  // a negative length: what waits is lost
        FrameMessage(kMsgHello, "\x01", 2)}) {
    ASSERT_TRUE(big.WriteIPC(block.data(), static_cast<int>(block.size())));
  }
  EXPECT_EQ(MessageLines(big), (std::vector<std::string>{"3 " + std::string(32766, 'x'), "77", "5",
                                                         "5 4660", "1003", "1001", "1"}));
  ASSERT_TRUE(big.WriteIPC("\x04", 2));  // half a header
  EXPECT_FALSE(ReceiveIPCMessage(big));
}

TEST(HostMessage, DatagramFieldsAreReadAsFarAsThePayloadAndTheCountGo) {
  Bytes two = vexmoor::EncodeDatagram(2, 15, {"bob", "carl"});
  auto counted = [two](int16_t count, size_t cut = 0) {
    Bytes bytes(two.begin(), two.end() - cut);
    bytes[8] = static_cast<unsigned char>(count), bytes[9] = static_cast<unsigned char>(count >> 8);
    return bytes;
  };
  const std::tuple<Bytes, int, std::vector<std::string>> kCases[] = {
      {two, 2, {"bob", "carl"}},              // the payload; the count, the fields decoded
      {counted(50, 1), 50, {"bob", "carl"}},  // the last field without its NUL
      {counted(1), 1, {"bob"}},
      {counted(-1), -1, std::vector<std::string>{}},
      {Bytes{2, 0, 15}, 0, std::vector<std::string>{}},
      {Bytes{}, 0, std::vector<std::string>{}},
  };
  for (const auto& [payload, count, fields] : kCases) {
    Datagram datagram = DecodeDatagram(payload);
    EXPECT_EQ(std::vector<int>({datagram.source, datagram.number, datagram.fieldCount}),
              std::vector<int>({payload.empty() ? 0 : 2, payload.size() < 3 ? 0 : 15, count}));
    EXPECT_EQ(datagram.fields, fields);
  }
}

}  // namespace
}  // namespace tessik
