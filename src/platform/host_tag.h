// The host's tag, "Vexmoor2": the first part of every name the host and the plug-in share
// (pipe objects, the queue directory). One constant, so that both sides build the same names.
#pragma once

#include <string_view>

namespace tessik {

// Prefix of every object name shared with the host.
inline constexpr std::string_view kHostTag = "Vexmoor2";

}  // namespace tessik
