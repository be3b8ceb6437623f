// Running the real plug-in under the substitute host on a script, as a host would.
#pragma once

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

// The lines the plug-in sent to the host's console (type 3), as printed.
std::vector<std::string> ConsoleLines(const SimRun& run);

// A new directory for one test with an empty "tessik" folder in it.
std::filesystem::path FreshDirectory(const std::string& name);

// The 40 bytes of a record against opponent with result; the marker's bytes.
std::string RecordBytes(const std::string& opponent, int8_t result);
std::string MarkerBytes();

}  // namespace tessik
