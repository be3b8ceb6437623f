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
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a line longer than a block
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
      if (length > 0 && begin[length - 1] == '\r') --length;
      line = std::string_view(begin, length);
      return true;
    }
    if (!Fill()) break;
  }
  if (start_ == end_ || error_ != 0) return false;
  line = std::string_view(buffer_.data() + start_, end_ - start_);  // the last line, no LF
  start_ = end_;
  return true;
}

}  // namespace tessik
