#pragma once

#include <string>

// A directory of the fuzzing process's own, made once and removed at the end of the run, ending
// in "/".
const std::string& ScratchDirectory();
