// Where the user's game log is, for whatever reads or writes it beside the plug-in.
#pragma once

#include <string>

namespace tessik {

// The game log of user in the folder the plug-in runs in (<directory>/tessik/<user>.glg);
// empty, with the reason in problem, for a handle that cannot name a file.
std::string LogPathOf(const std::string& directory, const std::string& user, std::string& problem);

}  // namespace tessik
