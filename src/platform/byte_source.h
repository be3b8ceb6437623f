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
  // Reads the open regular file fd from its start, whatever the descriptor's offset (not closed
  // here). Sources of one descriptor read side by side without disturbing each other.
  explicit ByteSource(int fd) : fd_(fd) {}
  // Reads bytes, which must outlive the source.
  explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}
  // Reads fd as a stream (a pipe, a socket, standard input): from where it stands, once. Such a
  // source has no parts.
  static ByteSource Stream(int fd);

  // The bytes of this source from offset on (counted from where it would read next), length of
  // them at most.
  ByteSource Part(size_t offset, std::optional<size_t> length = std::nullopt) const;

  // As read(2): up to size bytes into buffer, their number; 0 at the end; -1 with errno set when
  // a read fails (an interrupted read is tried again).
  ssize_t Read(char* buffer, size_t size);
  // What is left to read when that is known in advance (bytes in memory, a part of a length).
  std::optional<size_t> Remaining() const;

 private:
  int fd_ = -1;
  off_t offset_ = 0;             // of the next byte read from fd_
  std::optional<size_t> limit_;  // bytes left to read from fd_, when a part ends before the file
  std::string_view bytes_;
  bool stream_ = false;
};

}  // namespace tessik
