// The host's per-user file on any bytes.
#include "import/pgn_import.h"
#include "scratch_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  WriteBytes(ScratchDirectory() + "ann.vx2", data, size);
  std::string path = tessik::LocatePgnFile(ScratchDirectory(), "ann");
  tessik::LocalPath(path, "/home/ann");
  return 0;
}
