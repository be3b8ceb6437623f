// The PGN reader on any bytes.
#include "import/pgn_import.h"
#include "scratch_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string pgn = ScratchDirectory() + "fuzz.pgn";
  WriteBytes(pgn, data, size);
  std::vector<tessik::GameRecord> games;
  tessik::ParsePgn(games, pgn, "ann", ScratchDirectory() + "pgn_read.txt");
  tessik::ReconstructRatingChains(games, {1500, 1500, 1500, 1500, 1500, 1500});
  return 0;
}
