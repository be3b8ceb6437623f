// The host's per-user file on any bytes, fed from memory along the path a file's bytes take.
#include <string_view>

#include "import/pgn_import.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  static const std::string fallback = "/home/ann/vexmoor/ann.pgn";
  std::string path = tessik::LocatePgnFile(
      tessik::ByteSource(std::string_view(reinterpret_cast<const char*>(data), size)), size,
      fallback);
  tessik::LocalPath(path, "/home/ann");
  return 0;
}
