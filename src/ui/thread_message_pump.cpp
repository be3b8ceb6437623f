#include "ui/thread_message_pump.h"

namespace tessik {

ThreadMessagePump::ThreadMessagePump(ThreadQueue& queue, CPluginApp& app)
    : queue_(queue), app_(app), notifier_(queue.Descriptor(), QSocketNotifier::Read) {
  connect(&notifier_, &QSocketNotifier::activated, this, &ThreadMessagePump::Pump);
}

void ThreadMessagePump::Pump() {
  // A box opened while a message is handled must not start a second drain: host messages
  // wait until the handler is done.
  notifier_.setEnabled(false);
  ThreadMessage message;
  while (queue_.Receive(message)) app_.OnThreadMessage(message);
  notifier_.setEnabled(true);
}

}  // namespace tessik
