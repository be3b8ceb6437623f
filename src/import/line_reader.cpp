#include "import/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessik {

bool LineReader::Fill() {
  if (atEnd_) return false;
  size_t held = end_ - start_;
  std::memmove(buffer_.data(), buffer_.data() + start_, held);
  start_ = 0;
  end_ = held;
  for (;;) {
    ssize_t got = read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      atEnd_ = true;
      if (got < 0) error_ = errno;
      return false;
    }
    end_ += static_cast<size_t>(got);
    return true;
  }
}

bool LineReader::Next(std::string_view& line) {
  for (;;) {
    const char* begin = buffer_.data() + start_;
    const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', end_ - start_));
    if (newline != nullptr) {
      size_t length = static_cast<size_t>(newline - begin);
      start_ += length + 1;
      if (skipping_) {  // the end of a line too long to keep
        skipping_ = false;
        continue;
      }
      if (length > 0 && begin[length - 1] == '\r') --length;
      line = std::string_view(begin, length);
      return true;
    }
    if (end_ - start_ == buffer_.size()) {  // a whole block without a line end: dropped
      skipping_ = true;
      start_ = end_;
    }
    if (!Fill()) break;
  }
  if (start_ == end_ || error_ != 0 || skipping_) return false;
  line = std::string_view(buffer_.data() + start_, end_ - start_);  // the last line, no LF
  start_ = end_;
  return true;
}

}  // namespace tessik
