// tessik-stats run as a user runs it, in a folder of the test's.
#pragma once

#include <string>

#include "support/temp_directory.h"

namespace tessik {

struct StatsRun {
  std::string out, err;
  int status = -1;
};

// tessik-stats with arguments (a shell's words) on the folder dir, run in it, its database in
// dir's own data home (dir/data), after environment (NAME=VALUE words, for the shell); the
// host's PGN gives local times, here those of UTC.
StatsRun Stats(const TempDirectory& dir, const std::string& arguments,
               const std::string& environment = "");

}  // namespace tessik
