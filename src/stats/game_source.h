// Where a reader of the whole record, such as the statistics view, takes the user's games from.
#pragma once

#include <string>
#include <vector>

#include "stats/game.h"

namespace tessik {

class GameSource {
 public:
  virtual ~GameSource() = default;

  // The user whose games they are.
  virtual const std::string& User() const = 0;
  // Every game of the record, in the order played. Throws std::runtime_error, with a sentence
  // for the user, when the games cannot be read.
  virtual std::vector<Game> Games() = 0;
  // A value that differs whenever the games may have changed since it was last taken. Cheap
  // enough to ask several times a second; never throws.
  virtual std::string Version() = 0;
};

}  // namespace tessik
