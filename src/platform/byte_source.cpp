#include "platform/byte_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessik {

ssize_t ByteSource::Read(char* buffer, size_t size) {
  if (fd_ < 0) {
    const size_t taken = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), taken);
    bytes_.remove_prefix(taken);
    return static_cast<ssize_t>(taken);
  }
  for (;;) {
    const ssize_t got = read(fd_, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

std::optional<size_t> ByteSource::Remaining() const {
  return fd_ < 0 ? std::optional<size_t>(bytes_.size()) : std::nullopt;
}

}  // namespace tessik
