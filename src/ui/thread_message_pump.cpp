#include "ui/thread_message_pump.h"

namespace tessik {

ThreadMessagePump* ThreadMessagePump::instance_ = nullptr;
int ThreadMessagePump::holds_ = 0;

ThreadMessagePump::ThreadMessagePump(ThreadQueue& queue, CPluginApp& app)
    : queue_(queue), app_(app), notifier_(queue.Descriptor(), QSocketNotifier::Read) {
  connect(&notifier_, &QSocketNotifier::activated, this, &ThreadMessagePump::Pump);
  instance_ = this;
  UpdateNotifier();
}

ThreadMessagePump::~ThreadMessagePump() { instance_ = nullptr; }

void ThreadMessagePump::UpdateNotifier() { notifier_.setEnabled(holds_ == 0); }

ThreadMessagePump::Hold::Hold() {
  ++holds_;
  if (instance_ != nullptr) instance_->UpdateNotifier();
}

ThreadMessagePump::Hold::~Hold() {
  --holds_;
  if (instance_ != nullptr) instance_->UpdateNotifier();
}

// A message being handled is not interrupted by the next one: the boxes and dialogs that run an
// event loop of their own hold the pump while they are open. The pump itself holds nothing, so
// that a message costs no turn of the notifier off and on.
void ThreadMessagePump::Pump() {
  ThreadMessage message;
  while (queue_.Receive(message)) app_.OnThreadMessage(message);
}

}  // namespace tessik
