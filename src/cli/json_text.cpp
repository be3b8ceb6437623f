#include "cli/json_text.h"

#include <string_view>

namespace tessik {

namespace {

// Whether bytes are UTF-8 as JSON takes it: no overlong forms, no surrogates, nothing beyond
// U+10FFFF.
bool IsUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t length = 1;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong below U+10000
      if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// Each byte as its Latin-1 character, U+0000 to U+00FF, in UTF-8.
std::string Latin1AsUtf8(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {  // U+0080 to U+00FF in two bytes
      text += static_cast<char>(0xC0 | byte >> 6);
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

void MakeText(Json& json) {
  if (json.is_string()) {
    // The one rule for the bytes of a name as text: see JsonText.
    std::string& bytes = json.get_ref<std::string&>();
    if (!IsUtf8(bytes)) bytes = Latin1AsUtf8(bytes);
  } else if (json.is_structured()) {
    for (Json& item : json) MakeText(item);
  }
}

}  // namespace

std::string JsonText(Json json) {
  MakeText(json);
  // The member names are the program's own, in ASCII: nothing is left to fail.
  return json.dump(2) + "\n";
}

}  // namespace tessik
