// The host's side of a pipe: creating the shared objects the plug-in opens.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "host/ipc_pipe.h"

namespace vexmoor {

// Creates the mutex and the shared-memory object of pipe id (mode 0600, header zeroed) and
// opens them as pipe, with readerThreadId naming the thread the writer notifies (0: not known
// yet). Fails when either object exists already.
bool CreateHostPipe(tessik::CIpcPipe& pipe, int id, int size, uint32_t readerThreadId);

// Removes both objects' names; the memory goes when the last user unmaps it.
void RemoveHostPipe(int id);

// Whether the reader has taken every byte written.
bool PipeDrained(const tessik::CIpcPipe& pipe);

// Where the writer writes next; only the writer moves it.
int32_t WritePosition(const tessik::CIpcPipe& pipe);

struct PipeObject {
  std::string name;  // the POSIX name, "/Vexmoor2.IPCMutex<N>"
  uid_t owner = 0;
};

// The first object of the pair of pipes id and id + 1 (a mutex or a shared memory) that exists
// already, if any.
std::optional<PipeObject> ExistingPipeObject(int id);

}  // namespace vexmoor
