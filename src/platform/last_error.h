// The calling thread's last-error value, as the host link reports it.
//
// On the host's desktop platform every failing system call leaves a numbered error for the
// thread (SetLastError / GetLastError), and the plug-in's messages quote those numbers: "OpenIPC
// failed.  GetLastError = 57". Linux has errno instead. The stand-in keeps the desktop's names
// and numbers, so that a host and a user read the same values on either platform: a
// thread-local value, errno mapped onto the desktop's numbers where they have a counterpart.
#pragma once

#include <cstdint>

namespace tessik {

// Well-known system error values, numbered as on the host's desktop platform.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorInvalidData = 13;
inline constexpr uint32_t kErrorInvalidParameter = 87;
// A Linux errno without a desktop counterpart is reported as this base plus the errno.
inline constexpr uint32_t kErrorLinuxErrnoBase = 0x20000100;

void SetLastError(uint32_t error);
uint32_t GetLastError();

// The last-error value that stands for a Linux errno.
uint32_t LastErrorFromErrno(int errnoValue);
// Sets the thread's last-error value from the current errno.
void SetLastErrorFromErrno();

}  // namespace tessik
