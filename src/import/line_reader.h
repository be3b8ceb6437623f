// Reads a file line by line in large blocks: each line without its line end (LF, or CR LF),
// the last line also without one. A line longer than a block (1 MiB, far beyond any tag line)
// is skipped whole, so that memory stays bounded whatever the file holds.
#pragma once

#include <memory>
#include <string_view>

#include "platform/byte_source.h"

namespace tessik {

class LineReader {
 public:
  // The most a line may hold to be kept; also the most read at once.
  static constexpr size_t kBlock = 1 << 20;

  explicit LineReader(ByteSource source);

  // The next line, valid until the next call; false at the end of the file or on a read error.
  bool Next(std::string_view& line);
  // Passes over lines up to the next one that begins with first, which it gives as Next does;
  // false as Next. It looks for a line end followed by first, not at each line: faster over
  // text of many short lines, such as a PGN's movetext.
  bool NextStartingWith(char first, std::string_view& line);
  // How many bytes have been read from the source so far (some perhaps not yet given as lines).
  size_t BytesRead() const { return bytesRead_; }
  bool Failed() const { return error_ != 0; }
  int Error() const { return error_; }  // the errno of the failed read

 private:
  // Moves the unread bytes to the front and reads more behind them; false when none came.
  bool Fill();

  ByteSource source_;
  size_t size_;  // of the buffer
  std::unique_ptr<char[]> buffer_;
  size_t start_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read
  size_t bytesRead_ = 0;
  bool atEnd_ = false;
  int error_ = 0;
  bool skipping_ = false;  // inside a line too long to keep
};

}  // namespace tessik
