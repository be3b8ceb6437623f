// The substitute host with the real plug-in, as a test runs it: to the end, or in the background
// while the test acts on it.
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
  // Starts vexmoor-sim on script with dir as the plug-in's working directory; the script and
  // the host's output go to files in dir (simN.script, simN.out, simN.err), options before them.
  // prepare runs in the child first: when it fails the child ends with kNotPrepared.
  SimProcess(const std::filesystem::path& dir, const std::string& script,
             const std::vector<std::string>& options = {},
             const std::function<bool()>& prepare = {});
  // Ends the plug-in if the host still runs, and then the host.
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // The plug-in, once the host has started it (up to 5 s); -1 when none came.
  pid_t Plugin() const;
  // Waits for the end: the exit status, or -1 when the host did not exit by itself.
  int Wait();
  // What the host printed, line by line, and its standard error, whole.
  std::vector<std::string> Lines() const;
  std::string Errors() const;
  const std::filesystem::path& Script() const { return script_; }

 private:
  std::filesystem::path script_;
  std::filesystem::path output_;
  std::filesystem::path errors_;
  pid_t pid_ = -1;
};

struct SimRun {
  std::vector<std::string> lines;  // what vexmoor-sim printed: "dir …", the messages, "exit N"
  int status = -1;                 // its exit status
  std::string errors;              // without the notes on pipe ids
  std::string script;              // the script's file
};

// Runs vexmoor-sim with the plug-in on script in dir to the end.
SimRun RunSim(const std::filesystem::path& dir, const std::string& script,
              const std::vector<std::string>& options = {},
              const std::function<bool()>& prepare = {});

// The lines the plug-in sent to the host's console (type 3), as printed.
std::vector<std::string> ConsoleLines(const std::vector<std::string>& lines);

// Waits up to 30 s until done() holds; whether it does.
bool Await(const std::function<bool()>& done);
// Waits up to 30 s for a file to exist.
bool AwaitFile(const std::filesystem::path& path);

}  // namespace tessik
