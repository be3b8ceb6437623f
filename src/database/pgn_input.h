// The bytes of a PGN to import: a file, or standard input ("-"), either of them plain or
// compressed with gzip.
#pragma once

#include <sys/types.h>

#include <string>
#include <system_error>
#include <thread>

#include "platform/byte_source.h"

namespace tessik {

class PgnInput {
 public:
  PgnInput() = default;
  PgnInput(const PgnInput&) = delete;
  PgnInput& operator=(const PgnInput&) = delete;
  ~PgnInput();

  // Opens path ("-": standard input). A regular file that begins as gzip does, and standard
  // input always, are read through zlib (which passes plain bytes through as they are), inflated
  // by a thread of its own into a socket that Source() reads. Returns no error, or why the file
  // cannot be read (EINVAL: not a regular file).
  std::error_code Open(const std::string& path);

  ByteSource Source() const;
  // The file's size for the progress, when it is a plain regular file; else 0.
  off_t Size() const { return size_; }

  // Ends the reading; the text of zlib's failure when the compressed bytes were damaged or cut
  // off, else empty. The reader's own errors are ByteSource's.
  std::string Finish();

 private:
  int fd_ = -1;      // the file; closed here unless standard input
  int stream_ = -1;  // the socket the inflater writes into, when there is one
  off_t size_ = 0;
  std::thread inflater_;
  std::string inflateError_;
};

}  // namespace tessik
