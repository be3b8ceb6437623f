// The substitute host with the real plug-in, while other processes get in its way: a pipe mutex
// left by a process that died, shared-memory objects left at the names it wants.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/named_mutex.h"
#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

constexpr uid_t kOtherUser = 65534;
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

struct LeftObject {
  std::string name;
  uid_t owner;
};

// In the child that becomes the host: a /dev/shm of its own, holding the objects.
bool PrivateSharedMemoryWith(const std::vector<LeftObject>& objects) {
  if (unshare(CLONE_NEWNS) != 0 ||
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount("tmpfs", "/dev/shm", "tmpfs", 0, "mode=1777") != 0) {
    return false;
  }
  for (const LeftObject& object : objects) {
    int fd = shm_open(("/" + object.name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0 || fchown(fd, object.owner, object.owner) != 0) return false;
    close(fd);
  }
  return true;
}

// The note for a pair of pipe ids passed over because of another user's object.
std::string Note(int id, const std::string& object) {
  return "vexmoor-sim: pipe ids " + std::to_string(id) + " and " + std::to_string(id + 1) +
         " not used: /" + object + " belongs to uid 65534";
}

TEST(SimPipes, ObjectsInTheWayArePassedOverAndAnotherUsersAreNamed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root for a /dev/shm of its own and another user";
  std::vector<LeftObject> everyPair;
  std::vector<std::string> everyPairNotes;
  for (int id = 1; id < 999; id += 2) {
    std::string name = "Vexmoor2.IPCMutex" + std::to_string(id);
    bool others = id % 4 == 1;
    everyPair.push_back({name, others ? kOtherUser : 0});
    if (others) everyPairNotes.push_back(Note(id, name));
  }
  everyPairNotes.push_back(
      "vexmoor-sim: no free pipe ids from 1 to 998: 250 pairs are held by other users' objects, "
      "249 by this user's (of a host that runs, or left by one that ended)");
  struct Case {
    const char* what;
    std::vector<LeftObject> objects;
    int status;
    std::vector<std::string> errors;
    int answers;
  };
  for (const Case& c : {
           Case{"this user's and another user's objects at the first ids",
                {{"Vexmoor2.IPCMutex1", 0},
                 {"Vexmoor2.IPCFileMapping1", 0},
                 {"Vexmoor2.IPCMutex3", kOtherUser},
                 {"Vexmoor2.IPCFileMapping6", kOtherUser}},
                0,
                {Note(3, "Vexmoor2.IPCMutex3"), Note(5, "Vexmoor2.IPCFileMapping6")},
                1},
           Case{"objects at every id", everyPair, 1, everyPairNotes, 0},
       }) {
    TempDirectory dir;
    SimProcess sim(dir.path(), std::string("dg 2 0 ann\nsync\n") + kMatchOffer + "sync\n", {},
                   [&c] { return PrivateSharedMemoryWith(c.objects); });
    int status = sim.Wait();
    if (status == kNotPrepared) GTEST_SKIP() << "cannot mount a /dev/shm of its own here";
    EXPECT_EQ(status, c.status) << c.what;
    std::istringstream errors(sim.Errors());
    std::vector<std::string> lines;
    for (std::string line; std::getline(errors, line);) lines.push_back(line);
    EXPECT_EQ(lines, c.errors) << c.what;
    EXPECT_EQ(CountLines(sim.Lines(), kAnswer), c.answers) << c.what;
  }
}

}  // namespace
}  // namespace tessik
