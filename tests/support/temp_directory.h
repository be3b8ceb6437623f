#pragma once

#include <filesystem>
#include <string>

namespace tessik {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::string& path() const { return path_; }
  operator std::filesystem::path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const {
    return std::filesystem::path(path_) / name;
  }

 private:
  std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
// Writes contents to path, making the folders on the way.
void WriteFile(const std::filesystem::path& path, const std::string& contents);

}  // namespace tessik
