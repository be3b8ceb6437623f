// The archive import's reading of a PGN on any bytes: every game under each format's rules.
#include <fcntl.h>
#include <unistd.h>

#include "import/pgn_walker.h"
#include "scratch_directory.h"
#include "stats/archive_game.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string pgn = ScratchDirectory() + "fuzz.pgn";
  WriteBytes(pgn, data, size);
  int fd = open(pgn.c_str(), O_RDONLY);
  tessik::PgnWalker walker(fd);
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
  close(fd);
  return 0;
}
