#include "plugin_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vexmoor {

pid_t StartPlugin(const std::string& pluginPath, const std::string& directory) {
  pid_t child = fork();
  if (child != 0) return child;
  if (chdir(directory.c_str()) != 0) _exit(126);
  bool display = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (!display) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && std::string(platform) == "offscreen") {
    // Off screen the platform's notes about the missing desktop are noise.
    setenv("QT_LOGGING_RULES", "default.warning=false;qt.qpa.*=false", 0);
  }
  execl(pluginPath.c_str(), pluginPath.c_str(), static_cast<char*>(nullptr));
  _exit(127);
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
