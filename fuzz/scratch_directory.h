#pragma once

#include <string>

// A directory of the fuzzing process's own, made once, ending in "/".
const std::string& ScratchDirectory();

// Writes bytes to path, replacing what was there.
void WriteBytes(const std::string& path, const unsigned char* data, size_t size);
