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
  ~ThreadMessagePump() override;

  // While a hold lasts, host messages wait in their queue: a box or dialog blocks them as the
  // host expects, and a message being handled is never interrupted by the next one.
  class Hold {
   public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
  };

 private:
  void Pump();
  void UpdateNotifier();

  static ThreadMessagePump* instance_;
  static int holds_;
  ThreadQueue& queue_;
  CPluginApp& app_;
  QSocketNotifier notifier_;
};

}  // namespace tessik
