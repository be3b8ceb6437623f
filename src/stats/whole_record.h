// The user's games from both sources, each game once.
#pragma once

#include <vector>

#include "stats/game.h"

namespace tessik {

// The games of the plug-in's log (in its order) and of the database (oldest first), each game
// once: a database game that the log holds already (LogDuplicates) is the log's. Each other
// game goes before the first game of the log that started later, as an import into the log
// would have put it.
std::vector<Game> WholeRecord(std::vector<Game> log, std::vector<Game> database);

}  // namespace tessik
