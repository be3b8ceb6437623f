#include "host/greeting.h"

#include "host/host_message.h"
#include "version.h"

namespace tessik {

void SendGreeting(CIpcPipe& pipe) {
  SendIPCText(pipe, kMsgPluginName, kProtocolName);
  SendIPCValue(pipe, kMsgHello, 1);
  for (uint16_t number : {16, 130, 135}) SendIPCValue(pipe, kMsgWantDatagram, number);
  for (uint16_t number : {0, 29, 15, 16, 76, 62}) SendIPCValue(pipe, kMsgWantOtherDatagram, number);
}

}  // namespace tessik
