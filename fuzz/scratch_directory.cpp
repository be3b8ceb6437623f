#include "scratch_directory.h"

#include <stdlib.h>

#include <filesystem>

namespace {

// Removed when the fuzzer ends its run (not when it stops at a crash: what the crash left stays).
struct Scratch {
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessik-fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    std::filesystem::create_directory(pattern + "/tessik");
    path = pattern + "/";
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

}  // namespace

const std::string& ScratchDirectory() {
  static const Scratch scratch;
  return scratch.path;
}
