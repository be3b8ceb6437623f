#include "database/pgn_input.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <string_view>

#include "platform/file_error.h"
#include "platform/read_file.h"

namespace tessik {

namespace {

bool StartsAsGzip(int fd) {
  unsigned char magic[2] = {};
  return pread(fd, magic, sizeof magic, 0) == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

// zlib's text of the file's failure, without the name it gives a descriptor ("<fd:3>: ");
// empty when there is none.
std::string ZlibError(gzFile file) {
  int code = Z_OK;
  std::string_view text = gzerror(file, &code);
  if (code == Z_OK) return "";
  if (text.starts_with("<fd:")) text.remove_prefix(std::min(text.size(), text.find(": ") + 2));
  return std::string(text);
}

// Inflates from (a descriptor zlib now owns) into to until the end, or until the reader has gone
// (a failed send: the import stopped). Returns zlib's text of a failure (a damaged file, or one
// cut off).
std::string Inflate(int from, int to) {
  gzFile file = gzdopen(from, "rb");
  if (file == nullptr) {
    close(from);
    close(to);
    return "cannot read it through zlib";
  }
  char buffer[1 << 16];
  bool gone = false;
  int got;
  while (!gone && (got = gzread(file, buffer, sizeof buffer)) > 0) {
    for (int sent = 0; sent < got && !gone;) {
      const ssize_t n = send(to, buffer + sent, static_cast<size_t>(got - sent), MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      gone = n <= 0;
      sent += n > 0 ? static_cast<int>(n) : 0;
    }
  }
  std::string error = gone ? "" : ZlibError(file);
  gzclose(file);
  close(to);
  return error;
}

}  // namespace

PgnInput::~PgnInput() { Finish(); }

std::error_code PgnInput::Open(const std::string& path) {
  bool compressed = true;
  if (path == "-") {
    fd_ = STDIN_FILENO;
  } else {
    if (std::error_code error = OpenRegularFile(AT_FDCWD, path, fd_, size_)) return error;
    compressed = StartsAsGzip(fd_);
  }
  if (!compressed) return {};
  size_ = 0;
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return ErrnoError();
  // zlib closes what it reads: standard input stays open for whoever reads it after us.
  const int from = fd_ == STDIN_FILENO ? fcntl(fd_, F_DUPFD_CLOEXEC, 0) : fd_;
  if (fd_ != STDIN_FILENO) fd_ = -1;
  if (from < 0) {
    close(ends[0]);
    close(ends[1]);
    return ErrnoError();
  }
  stream_ = ends[0];
  inflater_ = std::thread([this, from, to = ends[1]] { inflateError_ = Inflate(from, to); });
  return {};
}

ByteSource PgnInput::Source() const {
  return stream_ >= 0 ? ByteSource::Stream(stream_) : ByteSource(fd_);
}

std::string PgnInput::Finish() {
  if (stream_ >= 0) {
    shutdown(stream_, SHUT_RDWR);  // an inflater still sending stops
    if (inflater_.joinable()) inflater_.join();
    close(stream_);
    stream_ = -1;
  }
  if (fd_ > STDIN_FILENO) close(fd_);
  fd_ = -1;
  return inflateError_;
}

}  // namespace tessik
