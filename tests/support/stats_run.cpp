#include "support/stats_run.h"

#include <sys/wait.h>

#include <cstdlib>

namespace tessik {

StatsRun Stats(const TempDirectory& dir, const std::string& arguments,
               const std::string& environment) {
  const std::string out = dir / "out", err = dir / "err";
  const int status =
      std::system(("cd " + dir.path() + " && env -u TESSIK_DB XDG_DATA_HOME=" + dir.path() +
                   "/data TZ=UTC " + environment + " " TESSIK_STATS " --dir " + dir.path() + " " +
                   arguments + " >" + out + " 2>" + err)
                      .c_str());
  return {ReadFile(out), ReadFile(err), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

}  // namespace tessik
