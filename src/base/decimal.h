#pragma once

#include <cstdint>
#include <string_view>

namespace tessik {

// The one way decimal numbers are read from server fields, PGN tags and the settings file:
// leading white space, an optional sign, digits up to the first other character; 0 without
// digits. Values beyond 32 bits stop at the nearest limit.
int32_t ParseDecimal(std::string_view text);

}  // namespace tessik
