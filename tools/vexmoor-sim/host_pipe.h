// The host's side of a pipe: creating the shared objects the plug-in opens.
#pragma once

#include <cstdint>

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

}  // namespace vexmoor
