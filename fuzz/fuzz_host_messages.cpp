// Raw bytes in the input pipe, drained and dispatched by the plug-in as the host's
// notification makes it do: the decoder and every handler behind it.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "host_pipe.h"
#include "platform/thread_queue.h"
#include "scratch_directory.h"
#include "session/plugin_app.h"

namespace {

// A window that keeps nothing and answers every box with No or Cancel.
class SilentWindow : public tessik::MainWindow {
 public:
  bool OutputBoxEmpty() const override { return empty_; }
  void AddOutputLine(std::string_view) override { empty_ = false; }
  void SetTitle(std::string_view) override {}
  void StartIdleTimer() override {}
  void StopIdleTimer() override {}
  void Minimize() override {}
  void RemoveTrayIcon() override {}
  void ShowWindow() override {}
  void Close() override {}
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
  bool AskRetryCancel(std::string_view, std::string_view) override { return false; }

 private:
  bool empty_ = true;
};

constexpr int kPipeSize = 65536;

struct Link {
  Link() : id(700001 + static_cast<int>(getpid() % 50000) * 2) {
    // Both pipes notify this thread: with its queue bound, each notice is one send on a socket
    // connected once, where an unbound queue would cost a socket, a failed connect and a close
    // at every write.
    if (!queue.Bind() || !vexmoor::CreateHostPipe(input, id, kPipeSize, 0) ||
        !vexmoor::CreateHostPipe(output, id + 1, kPipeSize, tessik::GetCurrentThreadId())) {
      abort();
    }
    app.mainWindow = &window;
    tessik::SetDirectories(app, ScratchDirectory());
    app.OnIPCNewPipe(id, kPipeSize);
    app.OnIPCNewPipe(id + 1, kPipeSize);
  }
  ~Link() {
    vexmoor::RemoveHostPipe(id);
    vexmoor::RemoveHostPipe(id + 1);
  }
  tessik::ThreadQueue queue;
  int id;
  tessik::CIpcPipe input;
  tessik::CIpcPipe output;
  SilentWindow window;
  tessik::CPluginApp app;
};

Link& TheLink() {
  static Link link;
  return link;
}

void DrainOutput(tessik::CIpcPipe& pipe) {
  static unsigned char scratch[kPipeSize];
  pipe.ReadIPC(scratch, -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  Link& link = TheLink();
  for (size_t done = 0; done < size;) {
    int chunk = static_cast<int>(std::min<size_t>(size - done, kPipeSize / 2));
    link.input.WriteIPC(data + done, chunk);
    done += static_cast<size_t>(chunk);
    link.app.OnIPCDataReady(0, 0);
    DrainOutput(link.output);
  }
  return 0;
}
