// vexmoor-sim: a small host that starts the plug-in, plays a session script to it and prints
// every message the plug-in sends.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

#include "host_session.h"
#include "script.h"

namespace {

constexpr const char* kUsage =
    "usage: vexmoor-sim [--plugin PATH] [--dir DIR] [--pipe-size N] [--keep-dir] SCRIPT\n"
    "       vexmoor-sim --help\n"
    "       SCRIPT - reads the script from standard input\n"
    "A script holds one event a line:\n";

void PrintUsage(std::ostream& out) {
  out << kUsage;
  for (const vexmoor::VerbForm& form : vexmoor::Verbs()) {
    std::string usage = vexmoor::UsageOf(form);
    usage.resize(std::max<size_t>(usage.size(), 30), ' ');
    out << "  " << usage << "  " << form.help << '\n';
  }
}

struct Options {
  std::string plugin;
  std::string directory;
  int pipeSize = 16384;
  bool keepDirectory = false;
  std::string script;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--plugin" && hasValue) {
      options.plugin = argv[++i];
    } else if (arg == "--dir" && hasValue) {
      options.directory = argv[++i];
    } else if (arg == "--pipe-size" && hasValue) {
      options.pipeSize = std::atoi(argv[++i]);
      if (options.pipeSize < 16 || options.pipeSize > (1 << 24)) return false;
    } else if (arg == "--keep-dir") {
      options.keepDirectory = true;
    } else if (options.script.empty() && (arg == "-" || arg[0] != '-')) {
      options.script = arg;
    } else {
      return false;
    }
  }
  return !options.script.empty();
}

std::string DefaultPlugin() {
  std::error_code error;
  auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (self.parent_path() / "tessik").string();
}

// The whole of a file; false with the system's reason when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& reason) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) != 0) {
    if (got > 0) {
      text.append(buffer, static_cast<size_t>(got));
    } else if (errno != EINTR) {
      reason = std::strerror(errno);
      close(fd);
      return false;
    }
  }
  close(fd);
  return true;
}

int Fail(const std::string& message) {
  std::cerr << "vexmoor-sim: " << message << '\n';
  return 1;
}

// Sends the end unless the script did, waits for the plug-in's exit and prints it.
int FinishRun(vexmoor::HostSession& host, const std::string& directory) {
  std::string error;
  if (!host.SentEnd() && !host.PluginEnded() &&
      !host.Play({0, vexmoor::Verb::kEnd, {}}, directory, error)) {
    return Fail(error);
  }
  std::optional<int> exitCode = host.WaitForExit();
  if (!exitCode) return Fail("the plug-in did not end within 10 s");
  std::cout << "exit " << *exitCode << std::endl;
  if (*exitCode != 0) return Fail("the plug-in ended with code " + std::to_string(*exitCode));
  return 0;
}

int PlayScript(const Options& options, const vexmoor::Script& script) {
  std::string plugin = options.plugin.empty() ? DefaultPlugin() : options.plugin;
  plugin = std::filesystem::absolute(plugin).string();
  std::unique_ptr<vexmoor::HostSession> host;
  auto startRun = [&] {
    host.reset();  // its pipes are removed first
    host = std::make_unique<vexmoor::HostSession>(std::cout, std::cerr);
    if (options.script != "-") {
      host->SetScriptDirectory(std::filesystem::absolute(options.script).parent_path());
    }
    std::string error;
    return host->Start(plugin, options.directory, options.pipeSize, error) ? 0 : Fail(error);
  };
  int status = startRun();
  for (size_t i = 0; status == 0 && i < script.events.size(); ++i) {
    const vexmoor::ScriptEvent& event = script.events[i];
    if (event.verb == vexmoor::Verb::kRestart) {
      status = FinishRun(*host, options.directory);
      if (status == 0) status = startRun();
      continue;
    }
    // The plug-in may end before the script does (the user closed it): what follows is left
    // out, but for the looks at its files.
    if (host->PluginEnded() && !vexmoor::LooksAtFiles(event)) continue;
    std::string error;
    if (!host->Play(event, options.directory, error)) {
      status = Fail("line " + std::to_string(event.line) + ": " + error);
    }
  }
  return status == 0 ? FinishRun(*host, options.directory) : status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (argc == 2 && std::string_view(argv[1]) == "--help") {  // asked for: the answer, no error
    PrintUsage(std::cout);
    return 0;
  }
  if (!ParseOptions(argc, argv, options)) {
    PrintUsage(std::cerr);
    return 2;
  }
  vexmoor::Script script;
  if (options.script == "-") {
    script = vexmoor::ReadScript(std::cin);
  } else {
    std::string text, reason;
    if (!ReadWholeFile(options.script, text, reason)) {
      return Fail("cannot read the script " + options.script + ": " + reason);
    }
    std::istringstream in(text);
    script = vexmoor::ReadScript(in);
  }
  if (!script.error.empty()) return Fail(options.script + ": " + script.error);

  bool madeDirectory = options.directory.empty();
  if (madeDirectory) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp ? tmp : "/tmp") + "/vexmoor-sim.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      return Fail("cannot make a temporary directory in " + pattern.substr(0, pattern.rfind('/')) +
                  ": " + std::strerror(errno));
    }
    options.directory = pattern;
  } else {
    std::error_code error;
    std::filesystem::create_directories(options.directory, error);
    if (error) {
      return Fail("cannot make the directory " + options.directory + ": " + error.message());
    }
  }
  options.directory = std::filesystem::absolute(options.directory).string();
  std::cout << "dir " << options.directory << std::endl;

  int status = PlayScript(options, script);
  if (madeDirectory && !options.keepDirectory) {
    std::error_code ignored;
    std::filesystem::remove_all(options.directory, ignored);
  }
  return status;
}
