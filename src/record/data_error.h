// A failure of the data a command reads (exit status 2), as opposed to its command line (1).
#pragma once

#include <stdexcept>

namespace tessik {

struct DataError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace tessik
