// What a command line that cannot be taken is told.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace tessik {

// CLI11's words for error, but for a command line that names no command: then which word is no
// command, or that one is needed, and the commands there are.
std::string UsageError(const CLI::App& app, const CLI::ParseError& error);

}  // namespace tessik
