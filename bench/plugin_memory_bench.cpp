// The plug-in's resident memory, as the system counts it (VmRSS): started by the substitute host
// and idle, then after a login on a log of 1,000,000 games against 50,000 opponents.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "figure_report.h"
#include "generated_log.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

// The first child of process pid (the host's plug-in), or 0.
pid_t ChildOf(pid_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid);
  std::ifstream children(path + "/children");
  pid_t child = 0;
  children >> child;
  return child;
}

// The resident memory of pid in MB, from its status file; -1 when it cannot be read.
double ResidentMegabytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return -1;
}

// Reads what the host prints up to a line beginning with prefix (not empty), else to its end.
bool AwaitLine(FILE* host, const std::string& prefix) {
  char line[4096];
  while (std::fgets(line, sizeof line, host) != nullptr) {
    if (!prefix.empty() && std::string(line).rfind(prefix, 0) == 0) return true;
  }
  return false;
}

}  // namespace

int main() {
  const GeneratedLogFolder folder(kGames, kOpponents);
  std::ofstream(folder.DataDirectory() / "tessik.ini") << "close with connection=1\n";
  const std::filesystem::path script = folder.directory / "memory.session";
  std::ofstream(script) << "waitfor idle\ndg 2 0 ann\nsync\nwaitfor logged-in\nend\n";
  const std::string command = "QT_QPA_PLATFORM=offscreen exec '" VEXMOOR_SIM "' --plugin '" TESSIK
                              "' --dir '" +
                              folder.directory.string() + "' '" + script.string() + "'";
  FILE* host = popen(command.c_str(), "r");
  if (host == nullptr) return 1;
  // popen's shell execs the host, whose pid is the shell's: the child of this process.
  const pid_t hostPid = ChildOf(getpid());
  double idle = -1, loggedIn = -1;
  if (AwaitLine(host, "waitfor idle")) {
    idle = ResidentMegabytes(ChildOf(hostPid));
    std::ofstream(folder.directory / "idle");
  }
  if (AwaitLine(host, "waitfor logged-in")) {
    loggedIn = ResidentMegabytes(ChildOf(hostPid));
    std::ofstream(folder.directory / "logged-in");
  }
  AwaitLine(host, "");  // the rest of what the host prints, to its end
  const int status = pclose(host);
  const auto figure = [](double megabytes) { return megabytes > 0 ? megabytes : NAN; };
  PrintFigure("plug-in resident memory, idle", figure(idle), " MB", AtMost(27.5));
  PrintFigure("plug-in resident memory after a login on " + std::to_string(kGames) + " games",
              figure(loggedIn), " MB", AtMost(77));
  return idle > 0 && loggedIn > 0 && status == 0 ? 0 : 1;
}
