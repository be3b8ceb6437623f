// The substitute host with the real plug-in, while a process that died left a pipe mutex
// locked.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include "platform/named_mutex.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

constexpr char kAnswer[] = "3 No game results against bob found\\n";
constexpr char kMatchOffer[] = "dg 2 29 bob 1720 \"\" \"\" ann 1650 \"\" \"\" 0 Blitz\n";

int CountLines(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// The name of the host's input pipe mutex, as mapped by the host.
std::string InputMutexOf(pid_t host) {
  std::ifstream maps("/proc/" + std::to_string(host) + "/maps");
  const std::string prefix = "/dev/shm/";
  for (std::string line; std::getline(maps, line);) {
    size_t at = line.find(prefix + "Vexmoor2.IPCMutex");
    if (at == std::string::npos || line.find("(deleted)") != std::string::npos) continue;
    std::string name = line.substr(at + prefix.size());
    if ((name.back() - '0') % 2 == 1) return name;
  }
  return {};
}

// Runs lock on the mutex in a child process; whether it did what it meant to (0, or death by
// SIGKILL).
bool InAnotherProcess(const std::string& mutexName, int (*lock)(pthread_mutex_t*)) {
  pid_t child = fork();
  if (child == 0) {
    MutexHandle mutex = OpenMutexA(mutexName);
    _exit(mutex.lock != nullptr && lock(mutex.lock) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) == SIGKILL : WEXITSTATUS(status) == 0;
}

// Takes the mutex and dies holding it.
int DieHolding(pthread_mutex_t* mutex) {
  if (pthread_mutex_lock(mutex) == 0) raise(SIGKILL);
  return 1;
}

// Finds the mutex abandoned and gives it back without making it consistent: nobody can take
// it again.
int GiveBackInconsistent(pthread_mutex_t* mutex) {
  if (pthread_mutex_lock(mutex) != EOWNERDEAD) return 1;
  return pthread_mutex_unlock(mutex);
}

TEST(SimPipes, AMutexLeftByADeadProcessIsTakenBackOrTheLossIsReported) {
  struct Case {
    const char* what;
    std::vector<int (*)(pthread_mutex_t*)> others;
    int status;
    std::string errors;
    int answers;
  };
  for (const Case& c : {
           Case{"abandoned by a process that died", {DieHolding}, 0, "", 1},
           Case{"left unrecoverable",
                {DieHolding, GiveBackInconsistent},
                1,
                "vexmoor-sim: line 4: the message was lost: cannot write the pipe: State not "
                "recoverable\n",
                0},
       }) {
    TempDirectory dir;
    SimProcess sim(dir.path(),
                   std::string("dg 2 0 ann\nsync\nwaitfor mutex-left\n") + kMatchOffer + "sync\n");
    ASSERT_TRUE(sim.WaitForLine("waitfor mutex-left")) << c.what << sim.Errors();
    const std::string mutexName = InputMutexOf(sim.Pid());
    ASSERT_FALSE(mutexName.empty()) << c.what;
    for (auto other : c.others) ASSERT_TRUE(InAnotherProcess(mutexName, other)) << c.what;
    WriteFile(dir / "mutex-left", "");
    EXPECT_EQ(sim.Wait(), c.status) << c.what;
    EXPECT_EQ(WithoutPipeNotes(sim.Errors()), c.errors) << c.what;
    EXPECT_EQ(CountLines(sim.Lines(), kAnswer), c.answers) << c.what;
  }
}

}  // namespace
}  // namespace tessik
