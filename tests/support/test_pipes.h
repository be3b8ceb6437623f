// A host's pair of pipes for tests, with ids of this test process's own.
#pragma once

#include <string>
#include <vector>

#include "host/host_message.h"
#include "host/ipc_pipe.h"
#include "platform/thread_queue.h"

namespace tessik {

// Pipe ids no other test process uses: odd for the input pipe, the next even one for output.
int UniqueOddPipeId();

struct TestPipes {
  // Creates both pipes with the host's thread (this one) as reader of the output pipe.
  explicit TestPipes(int size = 16384);
  ~TestPipes();

  // The host's ends.
  CIpcPipe hostInput;   // the host writes, the plug-in reads
  CIpcPipe hostOutput;  // the plug-in writes, the host reads
  int inputId;
  int outputId;
  int size;
};

// Everything waiting in a pipe, as "<type> <payload>" lines.
std::vector<std::string> MessageLines(CIpcPipe& pipe);

}  // namespace tessik
