#pragma once

#include <string>

// A directory of the fuzzing process's own, made once and removed at the end of the run, ending
// in "/".
const std::string& ScratchDirectory();

// Writes bytes to path, replacing what was there.
void WriteBytes(const std::string& path, const unsigned char* data, size_t size);
