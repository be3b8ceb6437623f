// The settings file on any bytes, fed from memory along the path a file's bytes take, line by
// line as it is read, then written back.
#include <string_view>

#include "session/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  tessik::settings = tessik::Settings{};
  tessik::LoadSettings(
      tessik::ByteSource(std::string_view(reinterpret_cast<const char*>(data), size)), size);
  std::string written = tessik::FormatSettingsFile(tessik::settings);
  return written.empty() ? 1 : 0;
}
