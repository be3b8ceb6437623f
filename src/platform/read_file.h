// Reading the small files others may have put in the plug-in's way: the settings, the host's
// per-user file.
#pragma once

#include <fcntl.h>  // AT_FDCWD
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace tessik {

// Names are taken relative to folder, a directory's descriptor (AT_FDCWD: the current
// directory; an absolute path ignores it).

// Opens the regular file name for reading into fd, its length into size. Returns 0, or the
// errno of the failure (fd then closed): ENOENT when nothing is there, EINVAL for anything but a
// regular file (a FIFO, a device, a directory), whose open never blocks the caller.
int OpenRegularFile(int folder, const std::string& name, int& fd, off_t& size);

// Reads at most limit bytes from the start of the regular file name into contents.
// Returns 0, or the errno of the failure: ENOENT when nothing is there, EINVAL for anything but
// a regular file (a FIFO, a device, a directory), which is never read and never blocks the
// caller. A shorter read than the file's length is not a failure.
int ReadFileHead(int folder, const std::string& name, size_t limit, std::string& contents);

// Why a file could not be read, for a line in the output box: "not a regular file" (EINVAL),
// "a symbolic link" (ELOOP: opened with O_NOFOLLOW), "too large" (EFBIG), or the system's text
// for the errno.
std::string DescribeReadError(int error);

}  // namespace tessik
