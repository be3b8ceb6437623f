// A plug-in whose pipes a host (the test) has announced, with a fake main window and a data
// directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/thread_queue.h"
#include "session/plugin_app.h"
#include "support/fake_main_window.h"
#include "support/temp_directory.h"
#include "support/test_pipes.h"

namespace tessik {

class SessionFixture : public ::testing::Test {
 protected:
  using Bytes = std::vector<unsigned char>;
  using Fields = std::vector<std::string>;

  // Resets the process-wide state, announces both pipes and takes the greeting.
  void SetUp() override;

  void Send(uint16_t source, uint16_t number, const Fields& fields);
  void SendRaw(const Bytes& bytes);
  // Handles every notification waiting, as the message loop would.
  void Deliver();
  void LogIn(const std::string& name);
  // The host's rows of a blitz game number that ann wins with white against bob: its start
  // (datagram 15) and its end (16), handled.
  void WinGame(const std::string& number);
  // What the plug-in sent the host since the last call.
  std::vector<std::string> Sent() { return MessageLines(pipes.hostOutput); }
  // dataDirectory + name
  std::string DataFile(const std::string& name) const { return app.dataDirectory + name; }

  ThreadQueue queue;
  TempDirectory directory;
  TestPipes pipes;
  FakeMainWindow window;
  CPluginApp app;
};

}  // namespace tessik
