#include "scratch_directory.h"

#include <stdlib.h>

#include <filesystem>

namespace {

// In memory where the system has a file system there for it: the plug-in writes, syncs and
// renames its files at logins, games and the ends of sessions, and on a disk each input would
// wait on those.
std::filesystem::path Base() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
}

// Removed when the fuzzer ends its run (not when it stops at a crash: what the crash left stays).
struct Scratch {
  Scratch() {
    std::string pattern = (Base() / "tessik-fuzz.XXXXXX").string();
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
