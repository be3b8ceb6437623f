// The PGN reader on any bytes, fed from memory along the path a file's bytes take.
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "import/pgn_import.h"

// A named time zone with summer time: its rules are loaded once, where the system's own zone
// would be looked up on disk at every local-time conversion.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string_view pgn(reinterpret_cast<const char*>(data), size);
  std::vector<tessik::GameRecord> games;
  tessik::ReadPgn(games, tessik::ByteSource(pgn), size, "ann", nullptr);
  tessik::ReconstructRatingChains(games, {1500, 1500, 1500, 1500, 1500, 1500});
  return 0;
}
