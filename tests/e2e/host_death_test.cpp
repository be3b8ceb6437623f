// The plug-in's end when nobody ends its session: its host killed, or a signal to end. It saves
// what the session holds, removes what a dead host leaves behind, and exits.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/game_rows.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

namespace fs = std::filesystem;

const std::string kSession =
    Login() + WonGame("7", "bob") + "sync\nfile scored \"\"\npause 60000\n";

// Whether the process has ended (gone, or a zombie nobody has reaped yet).
bool Ended(pid_t process) {
  std::string text = ReadFile("/proc/" + std::to_string(process) + "/stat");
  size_t state = text.rfind(')');
  return text.empty() || (state != std::string::npos && text.compare(state + 2, 1, "Z") == 0);
}

// The shared-memory objects the process has mapped, its pipes: their paths and inodes. Another
// host may take the same names once they are free: the inode tells the objects apart.
std::vector<std::pair<std::string, ino_t>> MappedPipes(pid_t process) {
  std::istringstream maps(ReadFile("/proc/" + std::to_string(process) + "/maps"));
  std::vector<std::pair<std::string, ino_t>> pipes;
  for (std::string line; std::getline(maps, line);) {
    std::istringstream fields(line);  // address, permissions, offset, device, inode, path
    std::string skipped, path;
    ino_t inode = 0;
    fields >> skipped >> skipped >> skipped >> skipped >> inode >> path;
    if (path.rfind("/dev/shm/Vexmoor2.IPCFileMapping", 0) == 0) pipes.emplace_back(path, inode);
  }
  return pipes;
}

TEST(HostDeath, SessionIsSavedWhenTheHostIsKilledOrASignalEndsIt) {
  struct Case {
    const char* what;
    bool killHost;  // else the signal goes to the plug-in
    int signal;
  };
  for (const Case& c : {Case{"host killed", true, SIGKILL}, Case{"SIGTERM", false, SIGTERM},
                        Case{"SIGINT", false, SIGINT}, Case{"SIGHUP", false, SIGHUP}}) {
    SCOPED_TRACE(c.what);
    TempDirectory dir;
    SimProcess sim(dir, kSession);
    pid_t plugin = sim.Plugin();
    ASSERT_GT(plugin, 0);
    ASSERT_TRUE(AwaitFile(dir / "scored"));
    const auto pipes = MappedPipes(plugin);
    ASSERT_FALSE(pipes.empty());
    kill(c.killHost ? sim.Pid() : plugin, c.signal);
    if (!Await([&] { return Ended(plugin); })) {
      ADD_FAILURE() << "the plug-in runs on";
      kill(plugin, SIGKILL);
    }
    sim.Wait();
    EXPECT_EQ(ReadFile(dir / "tessik/ann.stt"), "bob 1 0 0\n");
    EXPECT_NE(ReadFile(dir / "tessik/tessik.ini").find("start minimized=0\n"), std::string::npos);
    if (c.killHost) {
      for (const auto& [path, inode] : pipes) {
        struct stat now {};
        EXPECT_TRUE(stat(path.c_str(), &now) != 0 || now.st_ino != inode) << path;
      }
    } else {
      EXPECT_EQ(sim.Lines().back(), "exit 0");
    }
  }
}

}  // namespace
}  // namespace tessik
