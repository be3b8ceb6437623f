#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_error.h"

namespace tessik {

std::error_code OpenRegularFile(int folder, const std::string& name, int& fd, off_t& size) {
  // O_NONBLOCK: the open of a FIFO returns at once instead of waiting for a writer.
  fd = openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return ErrnoError();
  struct stat info {};
  const std::error_code error = fstat(fd, &info) != 0    ? ErrnoError()
                                : !S_ISREG(info.st_mode) ? ErrnoError(EINVAL)
                                                         : std::error_code();
  if (error) {
    close(fd);
    fd = -1;
  }
  size = info.st_size;
  return error;
}

std::error_code ReadFileHead(int folder, const std::string& name, size_t limit,
                             std::string& contents) {
  contents.clear();
  int fd = -1;
  off_t size = 0;
  std::error_code error = OpenRegularFile(folder, name, fd, size);
  if (error) return error;
  error = ReadHead(ByteSource(fd), static_cast<size_t>(size), limit, contents);
  close(fd);
  return error;
}

std::error_code ReadHead(ByteSource source, size_t bytes, size_t limit, std::string& contents) {
  // Room for what the source holds and one byte more (to see it end), never beyond limit.
  const size_t room = std::min(limit, bytes + 1);
  contents.resize(room);
  size_t held = 0;
  std::error_code error;
  while (held < room) {
    const ssize_t got = source.Read(contents.data() + held, room - held);
    if (got < 0) error = ErrnoError();
    if (got <= 0) break;
    held += static_cast<size_t>(got);
  }
  contents.resize(error ? 0 : held);
  return error;
}

}  // namespace tessik
