#include "ui/termination_watch.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace tessik {

namespace {

sigset_t EndingSignals() {
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGHUP);
  return ending;
}

}  // namespace

void TerminationWatch::BlockSignals() {
  sigset_t ending = EndingSignals();
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  prctl(PR_SET_PDEATHSIG, SIGTERM);
}

TerminationWatch::TerminationWatch(std::function<void()> onSignal)
    : descriptor_([] {
        sigset_t ending = EndingSignals();
        return signalfd(-1, &ending, SFD_NONBLOCK | SFD_CLOEXEC);
      }()),
      notifier_(descriptor_, QSocketNotifier::Read),
      onSignal_(std::move(onSignal)) {
  connect(&notifier_, &QSocketNotifier::activated, this, &TerminationWatch::Read);
}

TerminationWatch::~TerminationWatch() {
  if (descriptor_ >= 0) close(descriptor_);
}

void TerminationWatch::Read() {
  signalfd_siginfo info{};
  bool received = false;
  while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    received = true;
  }
  if (received) onSignal_();
}

}  // namespace tessik
