#include "store/handle.h"

#include <algorithm>

#include "base/text.h"

namespace tessik {

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

HandleMatcher::HandleMatcher(std::string_view handle, bool ignoreCase) : ignoreCase_(ignoreCase) {
  handle = StoredHandle(handle);
  unsigned char key[kOpponentBytes] = {};
  unsigned char mask[kOpponentBytes] = {};
  std::memcpy(key, handle.data(), handle.size());
  std::memset(mask, 0xFF, std::min(handle.size() + 1, kOpponentBytes - 1));
  std::memcpy(key_, key, sizeof key_);
  std::memcpy(mask_, mask, sizeof mask_);
  if (ignoreCase) {
    key_[0] = FoldedCaseWord(key_[0]);
    key_[1] = FoldedCaseWord(key_[1]);
  }
}

}  // namespace tessik
