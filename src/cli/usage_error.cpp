#include "cli/usage_error.h"

#include "store/handle.h"

namespace tessik {

std::string UsageError(const CLI::App& app, const CLI::ParseError& error) {
  if (!app.get_subcommands().empty()) return error.what();
  std::string commands;
  for (const CLI::App* command : app.get_subcommands({})) {
    commands += (commands.empty() ? "" : ", ") + command->get_name();
  }
  for (const std::string& word : app.remaining()) {
    if (!word.starts_with("-")) {
      return "there is no command " + PrintableName(word) + "; the commands are " + commands;
    }
  }
  // No word named a command, and only a command is required here.
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    return "name a command: " + commands;
  }
  return error.what();
}

}  // namespace tessik
