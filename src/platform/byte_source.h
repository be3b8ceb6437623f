// Where a reader takes its bytes from: an open file, or bytes already in memory. The readers of
// outside bytes are written once against it, so that a fuzzer feeds them from memory along the
// very path a file's bytes take.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string_view>

namespace tessik {

class ByteSource {
 public:
  // Reads the open file fd (not closed here).
  explicit ByteSource(int fd) : fd_(fd) {}
  // Reads bytes, which must outlive the source.
  explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}

  // As read(2): up to size bytes into buffer, their number; 0 at the end; -1 with errno set when
  // a read fails (an interrupted read is tried again).
  ssize_t Read(char* buffer, size_t size);
  // What is left to read when that is known in advance (bytes in memory).
  std::optional<size_t> Remaining() const;

 private:
  int fd_ = -1;
  std::string_view bytes_;
};

}  // namespace tessik
