// The archive import's reading of a PGN on any bytes, from memory: every game under each
// format's rules.
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "import/pgn_walker.h"
#include "stats/archive_game.h"

// A named time zone with summer time: its rules are loaded once, where the system's own zone
// would be looked up on disk at every local-time conversion.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  tessik::PgnWalker walker{
      tessik::ByteSource(std::string_view(reinterpret_cast<const char*>(data), size))};
  tessik::ArchiveTags tags;
  tessik::StartTimes startTimes;
  auto take = [&tags](std::string_view name, std::string_view value) { tags.Take(name, value); };
  for (; walker.Next(take); tags.Clear()) {
    for (auto format : {tessik::PgnFormat::Auto, tessik::PgnFormat::Server,
                        tessik::PgnFormat::Online, tessik::PgnFormat::Standard}) {
      tessik::GameRecord record;
      tessik::ArchiveRecord(tags, "ann", format, startTimes, record);
    }
  }
  return 0;
}
