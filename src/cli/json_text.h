// JSON documents as tessik-stats prints them.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace tessik {

using Json = nlohmann::ordered_json;  // members in the order they are set

// Indented by two spaces and ended by a line feed. Every string value is bytes from the log or
// the command line, and is printed as the text they are: as UTF-8 when they are valid UTF-8,
// else each byte as its Latin-1 character (a handle from an old PGN, say). Control characters
// come out as JSON escapes.
std::string JsonText(Json json);

}  // namespace tessik
