#include "support/sim_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/temp_directory.h"

namespace tessik {

namespace {

int runs = 0;  // of this test process: each run's files have names of their own

// Polls until done() holds, up to limit; whether it did.
bool PollUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
  for (auto deadline = std::chrono::steady_clock::now() + limit;
       std::chrono::steady_clock::now() < deadline;
       std::this_thread::sleep_for(std::chrono::milliseconds(2))) {
    if (done()) return true;
  }
  return done();
}

// The first child of process; -1 when it has none.
pid_t ChildOf(pid_t process) {
  std::ifstream children("/proc/" + std::to_string(process) + "/task/" + std::to_string(process) +
                         "/children");
  pid_t child = -1;
  return children >> child ? child : -1;
}

// Standard error without the host's notes on pipe ids that other users' objects hold: those
// depend on the machine, not on the run.
std::string WithoutPipeNotes(const std::string& errors) {
  std::istringstream lines(errors);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("vexmoor-sim: pipe ids ", 0) != 0) kept += line + "\n";
  }
  return kept;
}

}  // namespace

SimProcess::SimProcess(const std::filesystem::path& dir, const std::string& script,
                       const std::vector<std::string>& options,
                       const std::function<bool()>& prepare) {
  const std::string base = (dir / ("sim" + std::to_string(++runs))).string();
  output_ = base + ".out";
  errors_ = base + ".err";
  script_ = base + ".script";
  WriteFile(script_, script);
  pid_ = fork();
  if (pid_ != 0) return;
  if (prepare && !prepare()) _exit(kNotPrepared);
  int in = open("/dev/null", O_RDONLY);
  int out = open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int err = open(errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0 || dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
      dup2(err, STDERR_FILENO) < 0) {
    _exit(kNotPrepared);
  }
  std::vector<std::string> words = {VEXMOOR_SIM, "--plugin", TESSIK_PLUGIN, "--dir", dir};
  words.insert(words.end(), options.begin(), options.end());
  words.push_back(script_);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  execv(VEXMOOR_SIM, argv.data());
  _exit(127);
}

SimProcess::~SimProcess() {
  if (pid_ <= 0) return;
  // Without its plug-in the host ends by itself and removes its pipes.
  if (pid_t plugin = ChildOf(pid_); plugin > 0) kill(plugin, SIGKILL);
  if (PollUntil([this] { return waitpid(pid_, nullptr, WNOHANG) != 0; }, std::chrono::seconds(15)))
    return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

pid_t SimProcess::Plugin() const {
  pid_t child = -1;
  PollUntil([&] { return (child = ChildOf(pid_)) > 0; }, std::chrono::seconds(5));
  return child;
}

int SimProcess::Wait() {
  int status = 0;
  pid_t ended = waitpid(pid_, &status, 0);
  pid_ = -1;
  return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> SimProcess::Lines() const {
  std::istringstream text(ReadFile(output_));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

std::string SimProcess::Errors() const { return ReadFile(errors_); }

SimRun RunSim(const std::filesystem::path& dir, const std::string& script,
              const std::vector<std::string>& options, const std::function<bool()>& prepare) {
  SimProcess sim(dir, script, options, prepare);
  SimRun run;
  run.status = sim.Wait();
  run.lines = sim.Lines();
  run.errors = WithoutPipeNotes(sim.Errors());
  run.script = sim.Script();
  return run;
}

std::vector<std::string> ConsoleLines(const std::vector<std::string>& lines) {
  std::vector<std::string> console;
  for (const std::string& line : lines) {
    if (line.rfind("3 ", 0) == 0) console.push_back(line);
  }
  return console;
}

bool Await(const std::function<bool()>& done) { return PollUntil(done, std::chrono::seconds(30)); }

bool AwaitFile(const std::filesystem::path& path) {
  return Await([&] { return std::filesystem::exists(path); });
}

}  // namespace tessik
