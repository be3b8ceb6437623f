// Reading the small files others may have put in the plug-in's way: the settings, the host's
// per-user file.
#pragma once

#include <fcntl.h>  // AT_FDCWD
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <system_error>

#include "platform/byte_source.h"

namespace tessik {

// Names are taken relative to folder, a directory's descriptor (AT_FDCWD: the current
// directory; an absolute path ignores it).

// Opens the regular file name for reading into fd, its length into size. Returns no error, or
// the failure's (fd then closed): ENOENT when nothing is there, EINVAL for anything but a regular
// file (a FIFO, a device, a directory), whose open never blocks the caller.
std::error_code OpenRegularFile(int folder, const std::string& name, int& fd, off_t& size);

// Reads at most limit bytes from the start of the regular file name into contents.
// Returns no error, or the failure's: ENOENT when nothing is there, EINVAL for anything but a
// regular file (a FIFO, a device, a directory), which is never read and never blocks the
// caller. A shorter read than the file's length is not a failure.
std::error_code ReadFileHead(int folder, const std::string& name, size_t limit,
                             std::string& contents);
// The reading of ReadFileHead, from source, bytes long: at most limit bytes, and at most one
// more than bytes (to see it end). Returns no error, or the failed read's (contents then empty).
std::error_code ReadHead(ByteSource source, size_t bytes, size_t limit, std::string& contents);

}  // namespace tessik
