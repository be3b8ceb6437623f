// A large PGN read in two parts at once, one on each of two cores: where to cut it so that the
// parts hold the very games the whole does.
#pragma once

#include <vector>

#include "platform/byte_source.h"

namespace tessik {

// The parts of pgn (bytes long, or about) in file order: two when it is large and a game surely
// begins near its middle, else the whole. Walked part by part (PgnWalker), they give the same
// games, in the same order, as the whole file walked in one go.
std::vector<ByteSource> PgnParts(ByteSource pgn, size_t bytes);

}  // namespace tessik
