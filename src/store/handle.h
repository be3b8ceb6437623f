// Rules about the server handles the plug-in meets.
#pragma once

#include <string>
#include <string_view>

namespace tessik {

// A guest or anonymous login: "guest" or "anon" at the start, in any letter case.
bool IsGuestHandle(std::string_view handle);

// Whether a handle may become part of a file name: 1 to 64 letters, digits, "-" or "_".
bool IsSafeFileHandle(std::string_view handle);

// A name from the host as it is printed: on one line, each control character shown in caret
// notation (a line feed as ^J, DEL as ^?), so that no name can break a line in two.
std::string PrintableName(std::string_view name);

}  // namespace tessik
