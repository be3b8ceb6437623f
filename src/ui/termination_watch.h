// The signals that end the plug-in, taken as events of the main loop.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>

namespace tessik {

// SIGTERM, SIGINT and SIGHUP (and the host's death, which the kernel delivers as SIGTERM) are
// read from a signalfd between two events, never in the middle of one, and handed to onSignal.
class TerminationWatch : public QObject {
  Q_OBJECT

 public:
  // Blocks the three signals for the calling thread and the threads it starts later: call it
  // first thing in main. Then asks for SIGTERM when the parent, the host, dies.
  static void BlockSignals();

  explicit TerminationWatch(std::function<void()> onSignal);
  ~TerminationWatch() override;

 private:
  void Read();

  int descriptor_;
  QSocketNotifier notifier_;
  std::function<void()> onSignal_;
};

}  // namespace tessik
