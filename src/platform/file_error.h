// The one shape of a failed file operation: a std::error_code. The system's failures keep their
// errno in the generic category; the data folder's own refusals have a category of their own.
// Each surface turns a code into its user's text in one place: the plug-in's lines and its
// write-error box, tessik-stats' messages.
#pragma once

#include <cerrno>
#include <string>
#include <system_error>

namespace tessik {

// errno (or another errno value) as an error code.
inline std::error_code ErrnoError(int error = errno) { return {error, std::generic_category()}; }

// Why a folder that exists is not used, beyond what errno says.
enum class FolderProblem {
  SymbolicLink = 1,  // "is a symbolic link"
  NotADirectory,     // "is not a directory"
  AnotherUsers,      // "belongs to another user"
  OpenToOthers,      // "is in a folder that other users may write"
};
std::error_code make_error_code(FolderProblem problem);

// Why a file or folder could not be read or used, for a line: "not a regular file" (EINVAL),
// "a symbolic link" (ELOOP: opened with O_NOFOLLOW), "too large" (EFBIG), a folder's problem
// as its category says it, or the system's text.
std::string DescribeReadError(std::error_code error);

}  // namespace tessik

template <>
struct std::is_error_code_enum<tessik::FolderProblem> : std::true_type {};
