// Running the real plug-in under the substitute host on a script, as a host would.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tessik {

struct SimRun {
  std::vector<std::string> lines;  // what vexmoor-sim printed: "dir …", the messages, "exit N"
  int status = -1;                 // its exit status, as pclose gives it
};

// Runs vexmoor-sim with the plug-in on script; arguments go before the script's name.
SimRun RunSim(const std::string& script, const std::string& arguments = "");

// Starts vexmoor-sim on script in dir, in the background, its output going to output. Returns
// its process id.
pid_t StartSim(const std::filesystem::path& dir, const std::string& script,
               const std::filesystem::path& output);
// The plug-in started by the host whose process id is sim, once it runs; -1 when none came.
pid_t PluginOf(pid_t sim);
// Waits up to seconds for a file to exist.
bool AwaitFile(const std::filesystem::path& path, int seconds = 30);

// The lines the plug-in sent to the host's console (type 3), as printed.
std::vector<std::string> ConsoleLines(const SimRun& run);

// A blitz game (3 minutes, both rated 1500) that user plays with white against opponent, as a
// host's script gives it: the game-start datagram and the result datagram.
std::string WonGame(const std::string& number, const std::string& opponent,
                    const std::string& user = "ann", const std::string& result = "1-0");

// A new directory for one test with an empty "tessik" folder in it.
std::filesystem::path FreshDirectory(const std::string& name);

}  // namespace tessik
