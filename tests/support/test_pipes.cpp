#include "support/test_pipes.h"

#include <unistd.h>

#include <stdexcept>

#include "host_pipe.h"
#include "message_line.h"

namespace tessik {

int UniqueOddPipeId() {
  static int next = 1000001 + static_cast<int>(getpid() % 100000) * 200;
  int id = next;
  next += 2;
  return id;
}

TestPipes::TestPipes(int pipeSize)
    : inputId(UniqueOddPipeId()), outputId(inputId + 1), size(pipeSize) {
  if (!vexmoor::CreateHostPipe(hostInput, inputId, size, 0) ||
      !vexmoor::CreateHostPipe(hostOutput, outputId, size, GetCurrentThreadId())) {
    throw std::runtime_error("cannot create the test pipes");
  }
}

TestPipes::~TestPipes() {
  vexmoor::RemoveHostPipe(inputId);
  vexmoor::RemoveHostPipe(outputId);
}

std::vector<std::string> MessageLines(CIpcPipe& pipe) {
  std::vector<std::string> lines;
  while (std::optional<HostMessage> message = ReceiveIPCMessage(pipe)) {
    lines.push_back(vexmoor::FormatMessageLine(*message));
  }
  return lines;
}

}  // namespace tessik
