#include "support/sim_run.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace tessik {

SimRun RunSim(const std::string& script, const std::string& arguments) {
  std::filesystem::path file = std::filesystem::temp_directory_path() /
                               ("tessik-e2e-" + std::to_string(getpid()) + ".session");
  std::ofstream(file, std::ios::binary) << script;
  std::string command = std::string(VEXMOOR_SIM) + " --plugin " + TESSIK_PLUGIN + " " + arguments +
                        " " + file.string();
  SimRun run;
  FILE* out = popen(command.c_str(), "r");
  char buffer[4096];
  while (out != nullptr && std::fgets(buffer, sizeof buffer, out) != nullptr) {
    std::string line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    run.lines.push_back(line);
  }
  if (out != nullptr) run.status = pclose(out);
  std::filesystem::remove(file);
  return run;
}

pid_t StartSim(const std::filesystem::path& dir, const std::string& script,
               const std::filesystem::path& output) {
  std::filesystem::path scriptFile = dir / "session.script";
  std::ofstream(scriptFile, std::ios::binary) << script;
  pid_t sim = fork();
  if (sim == 0) {
    std::freopen(output.c_str(), "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execl(VEXMOOR_SIM, VEXMOOR_SIM, "--plugin", TESSIK_PLUGIN, "--dir", dir.c_str(),
          scriptFile.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return sim;
}

pid_t PluginOf(pid_t sim) {
  for (int tries = 0; tries < 2500; ++tries) {
    std::ifstream children("/proc/" + std::to_string(sim) + "/task/" + std::to_string(sim) +
                           "/children");
    pid_t child = 0;
    if (children >> child && child > 0) return child;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return -1;
}

bool AwaitFile(const std::filesystem::path& path, int seconds) {
  for (int tries = 0; tries < seconds * 100; ++tries) {
    if (std::filesystem::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

std::vector<std::string> ConsoleLines(const SimRun& run) {
  std::vector<std::string> console;
  for (const std::string& line : run.lines) {
    if (line.rfind("3 ", 0) == 0) console.push_back(line);
  }
  return console;
}

std::string WonGame(const std::string& number, const std::string& opponent, const std::string& user,
                    const std::string& result) {
  return "dg 2 15 " + number + " " + user + " " + opponent +
         " 0 Blitz 1 3 0 3 0 1 \"\" 1500 1500 " + number + " \"\" \"\"\ndg 2 16 " + number + " " +
         user + " " + opponent + " " + result + "\n";
}

std::filesystem::path FreshDirectory(const std::string& name) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("tessik-e2e-" + name + "-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "tessik");
  return dir;
}

}  // namespace tessik
