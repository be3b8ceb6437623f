// The player named in a finger or an assess answer of the server.
#pragma once

#include <string>
#include <string_view>

namespace tessik {

// From the first line of a finger answer ("Finger of bob(GM):"): the name, or an empty text
// when there is nothing to look up (a quoted answer, "not", the user, or no name at all).
std::string ExtractFingerName(std::string_view text, std::string_view userName);

// From an assess answer whose first line names two players: the one who is not the user, or
// an empty text when the user is not one of them.
std::string ExtractAssessName(std::string_view text, std::string_view userName);

}  // namespace tessik
