#pragma once

#include <string_view>

namespace tessik {

// Prefix of every object name shared with the host.
inline constexpr std::string_view kHostTag = "Vexmoor2";

}  // namespace tessik
