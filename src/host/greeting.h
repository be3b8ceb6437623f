#pragma once

#include "host/ipc_pipe.h"

namespace tessik {

// The plug-in's name and the datagram numbers it wants, sent when the output pipe opens.
void SendGreeting(CIpcPipe& pipe);

}  // namespace tessik
