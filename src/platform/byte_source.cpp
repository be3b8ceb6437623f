#include "platform/byte_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessik {

ByteSource ByteSource::Stream(int fd) {
  ByteSource source(fd);
  source.stream_ = true;
  return source;
}

ByteSource ByteSource::Part(size_t offset, std::optional<size_t> length) const {
  ByteSource part = *this;
  if (fd_ < 0) {
    part.bytes_ = bytes_.substr(std::min(offset, bytes_.size()), length.value_or(bytes_.size()));
    return part;
  }
  part.offset_ += static_cast<off_t>(offset);
  if (limit_) part.limit_ = *limit_ > offset ? *limit_ - offset : 0;
  if (length) part.limit_ = std::min(*length, part.limit_.value_or(*length));
  return part;
}

ssize_t ByteSource::Read(char* buffer, size_t size) {
  if (fd_ < 0) {
    const size_t taken = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), taken);
    bytes_.remove_prefix(taken);
    return static_cast<ssize_t>(taken);
  }
  if (limit_) size = std::min(size, *limit_);
  if (size == 0) return 0;
  for (;;) {
    const ssize_t got = stream_ ? read(fd_, buffer, size) : pread(fd_, buffer, size, offset_);
    if (got < 0 && errno == EINTR) continue;
    if (got > 0) {
      offset_ += got;
      if (limit_) *limit_ -= static_cast<size_t>(got);
    }
    return got;
  }
}

std::optional<size_t> ByteSource::Remaining() const {
  return fd_ < 0 ? std::optional<size_t>(bytes_.size()) : limit_;
}

}  // namespace tessik
