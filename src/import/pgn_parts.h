// A large PGN read in two parts at once, one on each of two cores: where to cut it so that the
// parts hold the very games the whole does, and the reading of the parts side by side.
#pragma once

#include <functional>
#include <vector>

#include "platform/byte_source.h"

namespace tessik {

// The parts of pgn (bytes long, or about) in file order: two when it is large and a game surely
// begins near its middle, else the whole. Walked part by part (PgnWalker), they give the same
// games, in the same order, as the whole file walked in one go.
std::vector<ByteSource> PgnParts(ByteSource pgn, size_t bytes);

// Calls read(part, index) for every part, the first in this thread and the others each in a
// thread of its own (in turn when no thread can be made); returns when all have returned.
void ReadSideBySide(const std::vector<ByteSource>& parts,
                    const std::function<void(ByteSource, size_t)>& read);

}  // namespace tessik
