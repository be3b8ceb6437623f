#include "scratch_directory.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

const std::string& ScratchDirectory() {
  static const std::string directory = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessik-fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    std::filesystem::create_directory(pattern + "/tessik");
    return pattern + "/";
  }();
  return directory;
}

void WriteBytes(const std::string& path, const unsigned char* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}
