#include "host/greeting.h"

#include "host/host_message.h"
#include "version.h"

namespace tessik {

void SendGreeting(CIpcPipe& pipe) {
  SendIPCText(pipe, kMsgPluginName, kProtocolName);
  SendIPCValue(pipe, kMsgHello, kHelloValue);
  for (uint16_t number : {kConnectionClosing, kFingerAnswer, kAssessAnswer}) {
    SendIPCValue(pipe, kMsgWantDatagram, number);
  }
  for (uint16_t number : {kLoginDatagram, kMatchOfferDatagram, kGameStartDatagram,
                          kGameResultDatagram, kUnusedServerDatagram, kActivityDatagram}) {
    SendIPCValue(pipe, kMsgWantOtherDatagram, number);
  }
}

}  // namespace tessik
