// Named shared-memory objects: POSIX shared memory under "/<name>".
//
// The desktop platform's file mappings (OpenFileMappingA, MapViewOfFile) become shm_open and
// mmap of the same name with a "/" in front. The names stay the desktop's, because the host
// builds the same names from the same formats. Objects of another user are refused: the byte
// layout inside them is trusted only as far as its bounds are checked.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessik {

inline constexpr int kNoHandle = -1;

// The POSIX object name for a desktop object name: "/" + name.
std::string PosixObjectName(std::string_view name);

// Opens an existing object for reading and writing. Objects that belong to another user are
// refused. Returns kNoHandle and sets the last error on failure.
int OpenFileMappingA(std::string_view name);

// Maps length bytes of an opened object from offset 0 for writing. Fails, rather than map
// bytes the object does not have, when the object is shorter than length.
void* MapViewOfFile(int mapping, size_t length);

void UnmapViewOfFile(void* view, size_t length);
void CloseHandle(int handle);

}  // namespace tessik
