// Files the host writes into the plug-in's working directory on a script's behalf.
#pragma once

#include <string>

namespace vexmoor {

// Whether name can only name a file inside a directory: not empty, not absolute, and no ".."
// among its components.
bool NameStaysInside(const std::string& name);

enum class WriteMode { Replace, Append };

// Writes contents (mode 0600 when new) to the regular file name inside directory, replacing what
// it held or after it. Follows no symbolic link at name itself, and none on the way that leads
// outside directory. False with the reason.
bool WriteWorkFile(const std::string& directory, const std::string& name,
                   const std::string& contents, std::string& reason,
                   WriteMode mode = WriteMode::Replace);

// Makes name inside directory a symbolic link to target, as another program might leave one:
// the link itself is never followed, and the folder it goes in is reached beneath directory.
// False with the reason.
bool MakeWorkLink(const std::string& directory, const std::string& name, const std::string& target,
                  std::string& reason);

}  // namespace vexmoor
