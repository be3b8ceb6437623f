// The substitute host with the real plug-in, running in the background while a test acts on it.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessik {

// The exit status of a run whose preparation failed.
inline constexpr int kNotPrepared = 77;

class SimProcess {
 public:
  // Starts vexmoor-sim on script with dir as the working directory; its output goes to files in
  // dir. prepare runs in the child first: when it fails the child ends with kNotPrepared.
  SimProcess(const std::filesystem::path& dir, const std::string& script,
             const std::function<bool()>& prepare = {});
  // Ends the plug-in if the host still runs, and then the host.
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // The plug-in: the host's child; -1 when it has none.
  pid_t Plugin() const;
  // Waits up to 20 s until the host has printed line; false when it did not.
  bool WaitForLine(const std::string& line) const;
  // Waits for the end: the exit status, or -1 when the host did not exit by itself.
  int Wait();
  // What the host printed, line by line, and its standard error, whole.
  std::vector<std::string> Lines() const;
  std::string Errors() const;

 private:
  std::filesystem::path output_;
  std::filesystem::path errors_;
  pid_t pid_ = -1;
};

// Standard error without the host's notes on pipe ids that other users' objects hold: those
// depend on the machine, not on the run.
std::string WithoutPipeNotes(const std::string& errors);

}  // namespace tessik
