// Directories that hold what only this user may change: the plug-in's data folder.
#pragma once

#include <string>

namespace tessik {

// Makes the directory with mode 0700 when it is missing. One that exists is taken only when it
// is a real directory (not a link) of the effective user; write permission for group and
// others on it is taken away. Returns an empty text, or why the directory cannot be used:
// "is a symbolic link", "is not a directory", "belongs to another user", or the system's
// reason.
std::string MakePrivateDirectory(const std::string& path);

}  // namespace tessik
