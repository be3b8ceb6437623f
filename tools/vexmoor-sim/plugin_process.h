// The plug-in as a child process of the substitute host.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace vexmoor {

// Starts the plug-in with directory as its working directory. Without a display it runs on
// Qt's offscreen platform. Returns the process id once the plug-in's program runs, or -1 with
// the reason in error (the file that could not be started, and why).
pid_t StartPlugin(const std::string& pluginPath, const std::string& directory, std::string& error);

// Whether the plug-in's main thread sleeps in its event loop waiting for something to do.
bool PluginWaitsForEvents(pid_t plugin);

// The exit code once the plug-in has ended (128 + the signal for a signal), without waiting.
std::optional<int> PluginExitCode(pid_t plugin);

}  // namespace vexmoor
