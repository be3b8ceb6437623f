// Hands the host's thread messages to the application on the main thread.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include "platform/thread_queue.h"
#include "session/plugin_app.h"

namespace tessik {

class ThreadMessagePump : public QObject {
  Q_OBJECT

 public:
  ThreadMessagePump(ThreadQueue& queue, CPluginApp& app);

 private:
  void Pump();

  ThreadQueue& queue_;
  CPluginApp& app_;
  QSocketNotifier notifier_;
};

}  // namespace tessik
