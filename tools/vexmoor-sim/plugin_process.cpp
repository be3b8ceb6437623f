#include "plugin_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vexmoor {

namespace {

enum class ChildStep { EnterDirectory, Exec };

struct ChildFailure {
  ChildStep step;
  int error;
};

}  // namespace

pid_t StartPlugin(const std::string& pluginPath, const std::string& directory, std::string& error) {
  // The child reports a failed step through a pipe that a successful exec closes.
  const std::string cannotStart = "cannot start the plug-in " + pluginPath + ": ";
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = cannotStart + std::strerror(errno);
    return -1;
  }
  pid_t child = fork();
  if (child < 0) {
    error = cannotStart + std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (child == 0) {
    close(report[0]);
    ChildFailure failure{ChildStep::EnterDirectory, 0};
    if (chdir(directory.c_str()) == 0) {
      bool display = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
      if (!display) setenv("QT_QPA_PLATFORM", "offscreen", 0);
      const char* platform = std::getenv("QT_QPA_PLATFORM");
      if (platform != nullptr && std::string(platform) == "offscreen") {
        // Off screen the platform's notes about the missing desktop are noise.
        setenv("QT_LOGGING_RULES", "default.warning=false;qt.qpa.*=false", 0);
      }
      execl(pluginPath.c_str(), pluginPath.c_str(), static_cast<char*>(nullptr));
      failure.step = ChildStep::Exec;
    }
    failure.error = errno;
    ssize_t ignored = write(report[1], &failure, sizeof failure);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  ChildFailure failure{};
  ssize_t got;
  do {
    got = read(report[0], &failure, sizeof failure);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got != static_cast<ssize_t>(sizeof failure)) return child;  // the plug-in runs
  waitpid(child, nullptr, 0);
  error = failure.step == ChildStep::EnterDirectory
              ? "cannot enter the directory " + directory + ": " + std::strerror(failure.error)
              : cannotStart + std::strerror(failure.error);
  return -1;
}

bool PluginWaitsForEvents(pid_t plugin) {
  std::string task = "/proc/" + std::to_string(plugin) + "/task/" + std::to_string(plugin);
  std::ifstream statFile(task + "/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size() || stat[nameEnd + 2] != 'S') {
    return false;
  }
  std::ifstream syscallFile(task + "/syscall");
  long number = -1;
  syscallFile >> number;
  // poll, select, epoll_wait, pselect6, ppoll, epoll_pwait, epoll_pwait2
  for (long waiting : {7L, 23L, 232L, 270L, 271L, 281L, 441L}) {
    if (number == waiting) return true;
  }
  return false;
}

std::optional<int> PluginExitCode(pid_t plugin) {
  int status = 0;
  if (waitpid(plugin, &status, WNOHANG) != plugin) return std::nullopt;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

}  // namespace vexmoor
