#include "session/handle.h"

namespace tessik {

namespace {

unsigned char Folded(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    int difference = Folded(a[i]) - Folded(b[i]);
    if (difference != 0) return difference;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

bool IsGuestHandle(std::string_view handle) {
  return StartsWithNoCase(handle, "guest") || StartsWithNoCase(handle, "anon");
}

std::string PrintableName(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      shown += '^';
      shown += static_cast<char>(byte ^ 0x40);
    } else {
      shown += c;
    }
  }
  return shown;
}

bool IsSafeFileHandle(std::string_view handle) {
  if (handle.empty() || handle.size() > 64) return false;
  for (char c : handle) {
    bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '-' || c == '_';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace tessik
