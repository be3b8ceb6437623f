#include "support/session_fixture.h"

#include <sys/stat.h>

#include "host/game_start_info.h"
#include "host/host_message.h"
#include "host_datagram.h"
#include "session/settings.h"

namespace tessik {

void SessionFixture::SetUp() {
  g_gameStartInfo = {};
  g_importReply = {};
  g_pendingImport = kNothingAwaited;
  settings = Settings{};
  ASSERT_TRUE(queue.Bind());
  SetDirectories(app, directory.path());
  ASSERT_EQ(mkdir(app.dataDirectory.c_str(), 0700), 0);
  app.mainWindow = &window;
  app.OnIPCNewPipe(pipes.inputId, pipes.size);
  app.OnIPCNewPipe(pipes.outputId, pipes.size);
  Sent();  // the greeting
}

void SessionFixture::Send(uint16_t source, uint16_t number, const Fields& fields) {
  Bytes payload = vexmoor::EncodeDatagram(source, number, fields);
  SendRaw(FrameMessage(kMsgDatagram, payload.data(), payload.size()));
}

void SessionFixture::SendRaw(const Bytes& bytes) {
  pipes.hostInput.WriteIPC(bytes.data(), static_cast<int>(bytes.size()));
}

void SessionFixture::Deliver() {
  for (ThreadMessage message; queue.Receive(message);) app.OnThreadMessage(message);
}

void SessionFixture::WinGame(const std::string& number) {
  Send(2, 15, {number, "ann", "bob", "0", "Blitz", "1", "3", "0", "3", "0", "1"});
  Send(2, 16, {number, "ann", "bob", "1-0"});
  Deliver();
}

void SessionFixture::LogIn(const std::string& name) {
  Send(2, 0, {name});
  Deliver();
}

}  // namespace tessik
