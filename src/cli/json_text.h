// JSON documents as tessik-stats prints them.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace tessik {

using Json = nlohmann::ordered_json;  // members in the order they are set

// Indented by two spaces and ended by a line feed; bytes that are not UTF-8 (a handle from an
// old PGN in Latin-1, say) become U+FFFD instead of failing the whole document.
std::string JsonText(const Json& json);

}  // namespace tessik
