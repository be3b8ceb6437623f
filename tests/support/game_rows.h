// The host's datagrams of a game, as a script gives them.
#pragma once

#include <string>

namespace tessik {

// A blitz game (3 minutes, both rated 1500) that ann wins with white against opponent: the
// game-start row (datagram 15) and the result row (datagram 16).
std::string WonGame(const std::string& number, const std::string& opponent);

// A login of ann, and the host's wait for its answers.
inline std::string Login() { return "dg 2 0 ann\nsync\n"; }

// The rating datagram (87) a host sends for the first import or the conversion.
inline constexpr char kRatingRow[] = "dg 2 87 ann 1500 1800 1600 x x x 1500 1400 x 1550\n";

}  // namespace tessik
