// Why the database cannot serve: a message for the user, naming the file.
#pragma once

#include <stdexcept>

namespace tessik {

struct DatabaseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace tessik
