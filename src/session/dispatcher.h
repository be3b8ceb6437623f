// Turns each message from the host into an action.
#pragma once

#include "host/host_message.h"

namespace tessik {

class CPluginApp;

void DispatchHostMessage(CPluginApp& app, const HostMessage& message);

// Dispatches every message waiting in the input pipe, in the order written.
void DrainInputPipe(CPluginApp& app);

}  // namespace tessik
