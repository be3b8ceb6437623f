#include "import/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessik {

// Bytes in memory fewer than a block take a buffer of their size and one byte more: it never
// fills, as a block never fills with them.
LineReader::LineReader(ByteSource source)
    : source_(source),
      size_(std::min(kBlock, source.Remaining().value_or(kBlock) + 1)),
      buffer_(std::make_unique_for_overwrite<char[]>(size_)) {}

bool LineReader::Fill() {
  if (atEnd_) return false;
  size_t held = end_ - start_;
  std::memmove(buffer_.get(), buffer_.get() + start_, held);
  start_ = 0;
  end_ = held;
  const ssize_t got = source_.Read(buffer_.get() + end_, size_ - end_);
  if (got <= 0) {
    atEnd_ = true;
    if (got < 0) error_ = errno;
    return false;
  }
  end_ += static_cast<size_t>(got);
  bytesRead_ += static_cast<size_t>(got);
  return true;
}

bool LineReader::Next(std::string_view& line) {
  for (;;) {
    const char* begin = buffer_.get() + start_;
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
    if (end_ - start_ == size_) {  // a whole block without a line end: dropped
      skipping_ = true;
      start_ = end_;
    }
    if (!Fill()) break;
  }
  if (start_ == end_ || error_ != 0 || skipping_) return false;
  line = std::string_view(buffer_.get() + start_, end_ - start_);  // the last line, no LF
  start_ = end_;
  return true;
}

bool LineReader::NextStartingWith(char first, std::string_view& line) {
  for (;;) {
    if (!skipping_ && start_ < end_ && buffer_[start_] == first) {  // at such a line's start
      if (!Next(line)) return false;
      if (!line.empty() && line.front() == first) return true;
      continue;  // that line was too long to keep: Next gave a later one
    }
    // The next line end followed by first, among the bytes held.
    const char* end = buffer_.get() + end_;
    const char* at = buffer_.get() + start_;
    while ((at = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)))) &&
           at + 1 < end && at[1] != first) {
      ++at;
    }
    if (at != nullptr && at + 1 < end) {
      start_ = static_cast<size_t>(at - buffer_.get()) + 1;
      skipping_ = false;  // a line end passed: any line too long to keep is over
      continue;
    }
    // None among the bytes held: they go, but for a last line end (the line after it is not
    // read yet); without one, the bytes read next go on a line that has begun.
    if (end_ > start_ && buffer_[end_ - 1] == '\n') {
      start_ = end_ - 1;
    } else if (end_ > start_) {
      start_ = end_;
      skipping_ = true;
    }
    if (!Fill()) {
      start_ = end_;  // at the end, as Next leaves it
      return false;
    }
  }
}

}  // namespace tessik
