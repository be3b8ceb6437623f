#include "host/host_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_datagram.h"
#include "platform/thread_queue.h"
#include "support/test_pipes.h"

namespace tessik {
namespace {

using Bytes = std::vector<unsigned char>;

// The host writes into the input pipe; the plug-in's end reads.
class FramingTest : public ::testing::Test {
 protected:
  explicit FramingTest(int size = 16384) : pipes(size) {}
  void SetUp() override {
    ASSERT_TRUE(queue.Bind());
    ASSERT_TRUE(plugIn.OpenIPC(pipes.inputId, pipes.size));
  }
  void WriteRaw(const Bytes& bytes) {
    ASSERT_TRUE(pipes.hostInput.WriteIPC(bytes.data(), static_cast<int>(bytes.size())));
    for (ThreadMessage message; queue.Receive(message);) {
    }
  }
  void WriteFramed(int16_t type, const Bytes& payload) {
    WriteRaw(FrameMessage(type, payload.data(), payload.size()));
  }
  Bytes ReadRaw(CIpcPipe& pipe) {
    Bytes bytes(static_cast<size_t>(pipe.dataSize));
    bytes.resize(static_cast<size_t>(pipe.ReadIPC(bytes.data(), -1)));
    return bytes;
  }

  ThreadQueue queue;
  TestPipes pipes;
  CIpcPipe plugIn;
};

TEST_F(FramingTest, TextMessageCarriesTheTextAndItsNul) {
  CIpcPipe writer;
  ASSERT_TRUE(writer.OpenIPC(pipes.outputId, pipes.size));
  SendIPCText(writer, kMsgServerCommand, "date\n");
  Bytes expected = {2, 0, 6, 0, 'd', 'a', 't', 'e', '\n', 0};
  EXPECT_EQ(ReadRaw(pipes.hostOutput), expected);
  SendIPCValue(writer, kMsgWantOtherDatagram, 0x1234);
  expected = {6, 0, 2, 0, 0x34, 0x12};
  EXPECT_EQ(ReadRaw(pipes.hostOutput), expected);
}

TEST_F(FramingTest, DatagramFieldsAreDecodedAndMissingOnesReadEmpty) {
  WriteFramed(kMsgDatagram, vexmoor::EncodeDatagram(2, 15, {"17", "alice", ""}));
  std::optional<HostMessage> message = ReceiveIPCMessage(plugIn);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->kind, PayloadKind::Datagram);
  EXPECT_EQ(message->datagram.source, 2);
  EXPECT_EQ(message->datagram.number, 15);
  EXPECT_EQ(message->datagram.fieldCount, 3);
  EXPECT_EQ(message->datagram.fields, (std::vector<std::string>{"17", "alice", ""}));
  EXPECT_EQ(message->datagram.Field(16), "");
  EXPECT_FALSE(ReceiveIPCMessage(plugIn));
}

TEST_F(FramingTest, ShortAndOvercountedDatagramsDecodeOnlyWhatArrived) {
  WriteFramed(kMsgDatagram, {});  // found by fuzzing: an empty payload was copied from nowhere
  ASSERT_TRUE(ReceiveIPCMessage(plugIn));
  WriteFramed(kMsgDatagram, {2, 0, 0});  // shorter than the datagram header
  Bytes overcounted = vexmoor::EncodeDatagram(2, 0, {"bob", "carl"});
  overcounted[8] = 50;
  overcounted.pop_back();  // the last field loses its NUL
  WriteFramed(kMsgDatagram, overcounted);
  Bytes negative = vexmoor::EncodeDatagram(2, 29, {"x"});
  negative[8] = 0xFF;
  negative[9] = 0xFF;
  WriteFramed(kMsgDatagram, negative);

  std::vector<HostMessage> messages = ReceiveAll(plugIn);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].datagram.source, 2);
  EXPECT_EQ(messages[0].datagram.number, 0);
  EXPECT_TRUE(messages[0].datagram.fields.empty());
  EXPECT_EQ(messages[1].datagram.fields, (std::vector<std::string>{"bob", "carl"}));
  EXPECT_EQ(messages[2].datagram.fieldCount, -1);
  EXPECT_TRUE(messages[2].datagram.fields.empty());
}

TEST_F(FramingTest, PayloadsThatAreNotDecodedArePassedOverByLength) {
  WriteFramed(77, {1, 2, 3, 4, 5});
  WriteFramed(78, {});
  WriteFramed(kMsgWantDatagram, {1, 2, 3});  // a value message must hold 2 bytes
  WriteFramed(kMsgConnectionEnded, {9, 9});
  WriteFramed(kMsgDatagram, vexmoor::EncodeDatagram(2, 62, {}));
  std::vector<HostMessage> messages = ReceiveAll(plugIn);
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[0].kind, PayloadKind::Skipped);
  EXPECT_EQ(messages[1].kind, PayloadKind::Skipped);
  EXPECT_EQ(messages[2].kind, PayloadKind::Skipped);
  EXPECT_EQ(messages[3].kind, PayloadKind::None);
  EXPECT_EQ(messages[4].datagram.number, 62);
}

TEST_F(FramingTest, NegativeLengthDiscardsWhatWaitsAndLaterMessagesDecode) {
  WriteRaw({1, 0, 0xFF, 0xFF, 'j', 'u', 'n', 'k'});
  WriteFramed(kMsgDatagram, vexmoor::EncodeDatagram(2, 62, {}));
  std::optional<HostMessage> broken = ReceiveIPCMessage(plugIn);
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->kind, PayloadKind::Skipped);
  EXPECT_FALSE(ReceiveIPCMessage(plugIn));
  WriteFramed(kMsgDatagram, vexmoor::EncodeDatagram(2, 62, {}));
  std::optional<HostMessage> next = ReceiveIPCMessage(plugIn);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->datagram.number, 62);
}

TEST_F(FramingTest, PartialHeaderEndsTheRead) {
  WriteRaw({1, 0});
  EXPECT_FALSE(ReceiveIPCMessage(plugIn));
  EXPECT_FALSE(ReceiveIPCMessage(plugIn));
}

class LargeFramingTest : public FramingTest {
 protected:
  LargeFramingTest() : FramingTest(40000) {}
};

TEST_F(LargeFramingTest, LargestPayloadDecodes) {
  std::string field(32767 - kDatagramHeaderBytes - 1, 'n');
  Bytes payload = vexmoor::EncodeDatagram(1, 130, {field});
  ASSERT_EQ(payload.size(), 32767u);
  WriteFramed(kMsgDatagram, payload);
  std::optional<HostMessage> message = ReceiveIPCMessage(plugIn);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->length, 32767);
  EXPECT_EQ(message->datagram.Field(0), field);
  EXPECT_FALSE(SendIPCText(pipes.hostInput, kMsgConsoleLine, std::string(32767, 'x')));
}

}  // namespace
}  // namespace tessik
